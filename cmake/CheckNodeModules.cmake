# Build step (cmake -P): stops the build when the npm packages that
# scripts/setup.sh installs are missing or older than package-lock.json, and
# copies npm's record of the install to RECORD when it changed.
#   cmake -DSOURCE_DIR=<source tree> -DRECORD=<file in the build tree> -P CheckNodeModules.cmake
get_filename_component(record_dir ${RECORD} DIRECTORY)
file(MAKE_DIRECTORY ${record_dir})
set(lock ${SOURCE_DIR}/package-lock.json)
# npm ci writes this file on every install.
set(installed ${SOURCE_DIR}/node_modules/.package-lock.json)
if(NOT EXISTS ${installed})
  message(FATAL_ERROR "The npm packages are not installed (${SOURCE_DIR}/node_modules is "
                      "missing). Run scripts/setup.sh once, then build again.")
endif()
if(NOT ${installed} IS_NEWER_THAN ${lock})
  message(FATAL_ERROR "The npm packages are older than package-lock.json. Run scripts/setup.sh "
                      "to install the pinned versions, then build again.")
endif()
file(COPY_FILE ${installed} ${RECORD} ONLY_IF_DIFFERENT)
