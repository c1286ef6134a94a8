# The browser side of the published package: three.js reduced to what the player
# uses, Stats.js and our player bundles, built with esbuild from the pinned npm
# packages into the build tree.
find_program(QM_NODE node REQUIRED)

set(QM_WEB_OUTPUT_DIR ${CMAKE_BINARY_DIR}/web)
set(QM_WEB_OUTPUTS
    ${QM_WEB_OUTPUT_DIR}/js/build/Three.js
    ${QM_WEB_OUTPUT_DIR}/js/Stats.js
    ${QM_WEB_OUTPUT_DIR}/js/ctr/cn1.js
    ${QM_WEB_OUTPUT_DIR}/js/ctr/cn2.js
    ${QM_WEB_OUTPUT_DIR}/js/ctr/cn3.js)

file(GLOB QM_WEB_PLAYER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/web/player/*.js)
file(GLOB QM_WEB_BUILD_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/*.mjs)
# The pinned npm packages come from scripts/setup.sh (npm ci); the build only
# checks them, on every run, and stops with a message when they are missing or
# older than the lock file. It never installs into the source tree itself. The
# check copies npm's own record of the install into the build tree, so the
# bundles are made again exactly when the installed packages changed.
set(QM_WEB_INSTALLED ${QM_WEB_OUTPUT_DIR}/installed-packages.json)
add_custom_target(qm_web_packages
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DRECORD=${QM_WEB_INSTALLED}
          -P ${CMAKE_SOURCE_DIR}/cmake/CheckNodeModules.cmake
  BYPRODUCTS ${QM_WEB_INSTALLED}
  COMMENT "Checking the installed npm packages against package-lock.json"
  VERBATIM)

add_custom_command(
  OUTPUT ${QM_WEB_OUTPUTS}
  COMMAND ${QM_NODE} ${CMAKE_SOURCE_DIR}/tools/web/build.mjs --out ${QM_WEB_OUTPUT_DIR}
  DEPENDS ${QM_WEB_PLAYER_SOURCES} ${QM_WEB_BUILD_SOURCES} ${QM_WEB_INSTALLED}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Building the web player (three.js subset, Stats.js, cn1-cn3)"
  VERBATIM)
add_custom_target(qm_web ALL DEPENDS ${QM_WEB_OUTPUTS})
add_dependencies(qm_web qm_web_packages)
