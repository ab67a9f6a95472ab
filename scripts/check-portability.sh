#!/usr/bin/env bash
# Fails when the programs' code includes a header that exists on one operating system only
# (POSIX or Windows) outside src/platform/, the one folder that may hold such code behind
# #ifdef Q_OS_... guards. The tests, benchmarks and fuzz drivers are Linux-side tools and
# are not built on Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
system_only='unistd|fcntl|dirent|pwd|grp|termios|dlfcn|poll|pthread|syslog|libgen|fnmatch|glob|strings|netdb|semaphore|spawn|sched|sys/[a-z_]+|netinet/[a-z_]+|arpa/[a-z_]+|windows|io|direct|winbase|shlobj'
if grep -rn -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*<(${system_only})\.h>" src tools \
    --include='*.h' --include='*.cpp' | grep -v '^src/platform/'; then
  echo "system-specific header outside src/platform (above): put that code behind a platform function"
  exit 1
fi
echo "portability: no system-specific header outside src/platform"
