# cmake -DBUILD_DIR=... -DTARGET=... -DSYMBOL=... -P ExpectUndefinedReference.cmake
# Builds TARGET and succeeds only when its link fails on an undefined reference to SYMBOL.
# The linker says what it misses in the user's language; the check reads its English words.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "${TARGET} linked: its call upwards went unnoticed")
endif()
string(FIND "${output}" "undefined reference to `${SYMBOL}" found)
if(found EQUAL -1)
  message(FATAL_ERROR "${TARGET} failed, but not on an undefined ${SYMBOL}:\n${output}")
endif()
message(STATUS "${TARGET} does not link: undefined ${SYMBOL}")
