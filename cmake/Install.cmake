# Install rules, desktop integration and the Debian package. The executable
# finds its window module and the user guide from its own folder (see
# app/module/InstallLayout.h), so their places relative to bin/ are compiled
# in; nothing depends on the prefix or on the build folder.
include(GNUInstallDirs)

set(QM_INSTALL_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/quillmark)
file(RELATIVE_PATH QM_MODULE_FROM_BIN /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${QM_INSTALL_MODULE_DIR})
file(RELATIVE_PATH QM_MANUAL_FROM_BIN /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${CMAKE_INSTALL_DOCDIR})
target_compile_definitions(quillmark_cli PUBLIC QM_MODULE_DIR_FROM_BIN="${QM_MODULE_FROM_BIN}"
                                                QM_MANUAL_DIR_FROM_BIN="${QM_MANUAL_FROM_BIN}")
target_compile_definitions(quillmark_app PUBLIC QM_MODULE_DIR_FROM_BIN="${QM_MODULE_FROM_BIN}"
                                                QM_MANUAL_DIR_FROM_BIN="${QM_MANUAL_FROM_BIN}")

install(TARGETS quillmark RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quillmark_desktop_module quillmark_probe_module LIBRARY DESTINATION ${QM_INSTALL_MODULE_DIR})
if(DEFINED QM_MANUAL_PDF)
  install(FILES ${QM_MANUAL_PDF} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(QM_DESKTOP_ID org.quillmark.Quillmark)
set(QM_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)
install(FILES ${QM_DESKTOP_DIR}/${QM_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QM_DESKTOP_DIR}/${QM_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QM_DESKTOP_DIR}/${QM_DESKTOP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# The program's picture at the sizes drawn, as the application icon and as
# the icon of its project files.
foreach(size 16 32 48 256)
  set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/app/VIDEO-${size}.png
          DESTINATION ${icon_dir}/apps RENAME ${QM_DESKTOP_ID}.png)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/app/VIDEO-${size}.png
          DESTINATION ${icon_dir}/mimetypes RENAME application-x-quillmark-project.png)
endforeach()

# Debian wants manual pages compressed.
set(QM_MAN_PAGE ${CMAKE_BINARY_DIR}/man/quillmark.1.gz)
add_custom_command(
  OUTPUT ${QM_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/docs/man/quillmark.1 > ${QM_MAN_PAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/quillmark.1
  COMMENT "Compressing the manual page")
add_custom_target(qm_man_page ALL DEPENDS ${QM_MAN_PAGE})
install(FILES ${QM_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB writes quillmark_VERSION_amd64.deb; its dependencies come from
# the shared libraries the installed files really use.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR Quillmark)
set(CPACK_PACKAGE_CONTACT "Quillmark <support@quillmark.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "publish 360-degree video tours with hot spots on the web")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark turns an equirectangular 360-degree video into a web tour: hot spots with \
links, captions, icons, angles and display times are placed in a preview and published \
with the web player's options as a self-contained HTML5 package (a presentation page, a \
three.js player page, scripts, images and the video).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Playing the preview needs GStreamer's plug-ins, which no library links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillmark.org)
include(CPack)
