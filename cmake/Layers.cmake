# Link checks of the layer libraries (src/CMakeLists.txt). A static library is made even when
# its code calls functions that only a higher layer defines; the call fails where a program
# links it, and not even there when the higher layer happens to be on the same link line. So
# every layer is also linked whole into a program of its own that links nothing above it:
# there an upward call is an undefined reference, and the build stops.
set(velmora_layers_dir ${CMAKE_CURRENT_LIST_DIR}/layers)

# velmora_layer_link_check(LIBRARY [EXCLUDE_FROM_ALL]): the program LIBRARY_links.
function(velmora_layer_link_check library)
  add_executable(${library}_links ${ARGN} ${velmora_layers_dir}/LinkCheckMain.cpp)
  target_link_libraries(${library}_links PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${library}>")
endfunction()

# The test that the check bites: a piece of the lowest layer calling into a higher one must
# fail to link, on an undefined reference to the function it calls.
function(velmora_layer_link_test)
  add_library(velmora_layer_probe STATIC EXCLUDE_FROM_ALL ${velmora_layers_dir}/UpwardCall.cpp)
  target_link_libraries(velmora_layer_probe PUBLIC velmora_platform)
  velmora_layer_link_check(velmora_layer_probe EXCLUDE_FROM_ALL)
  add_test(NAME layers_refuse_upward_call
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DTARGET=velmora_layer_probe_links
                   -DSYMBOL=velmora::dniValidColor -P ${velmora_layers_dir}/ExpectUndefinedReference.cmake)
  # Run with the linker's messages in Spanish (C.UTF-8 exists wherever the Spanish locale
  # itself may not be generated), as the people who work on this program have them.
  set_tests_properties(layers_refuse_upward_call PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8;LANGUAGE=es")
endfunction()
