# The browser side of the published package: three.js reduced to what the player
# uses, Stats.js and our player bundles, built with esbuild from the pinned npm
# packages (scripts/setup.sh runs npm ci).
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
# npm writes this file on every install; it is older than the lock file when the
# pinned versions changed since (scripts/setup.sh uses the same test).
set(QM_WEB_INSTALLED_STAMP ${CMAKE_SOURCE_DIR}/node_modules/.package-lock.json)
find_program(QM_NPM npm REQUIRED)
add_custom_command(
  OUTPUT ${QM_WEB_INSTALLED_STAMP}
  COMMAND ${QM_NPM} ci --no-audit --no-fund --loglevel=error
  DEPENDS ${CMAKE_SOURCE_DIR}/package-lock.json
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Installing the pinned npm packages"
  VERBATIM)

add_custom_command(
  OUTPUT ${QM_WEB_OUTPUTS}
  COMMAND ${QM_NODE} ${CMAKE_SOURCE_DIR}/tools/web/build.mjs --out ${QM_WEB_OUTPUT_DIR}
  DEPENDS ${QM_WEB_PLAYER_SOURCES} ${QM_WEB_BUILD_SOURCES} ${CMAKE_SOURCE_DIR}/package-lock.json
          ${QM_WEB_INSTALLED_STAMP}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Building the web player (three.js subset, Stats.js, cn1-cn3)"
  VERBATIM)
add_custom_target(qm_web ALL DEPENDS ${QM_WEB_OUTPUTS})
