# The user guide tv360_player.pdf beside the executable, where the window's
# Ctrl+F1 opens it. A small Qt tool lays out docs/manual/manual.md with its
# pictures and writes the PDF offscreen; it is rebuilt when the text, a
# picture or the tool changes.
add_executable(qm_manual_writer ${CMAKE_SOURCE_DIR}/tools/manual/ManualWriter.cpp)
target_link_libraries(qm_manual_writer PRIVATE Qt6::Gui)

set(QM_MANUAL_PDF ${CMAKE_BINARY_DIR}/tv360_player.pdf)
file(GLOB QM_MANUAL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*.md
     ${CMAKE_SOURCE_DIR}/docs/manual/*.png ${CMAKE_SOURCE_DIR}/docs/manual/*.jpg)
add_custom_command(
  OUTPUT ${QM_MANUAL_PDF}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:qm_manual_writer> ${CMAKE_SOURCE_DIR}/docs/manual/manual.md ${QM_MANUAL_PDF}
  DEPENDS qm_manual_writer ${QM_MANUAL_SOURCES}
  COMMENT "Writing the user guide tv360_player.pdf"
  VERBATIM)
add_custom_target(qm_manual ALL DEPENDS ${QM_MANUAL_PDF})
# Whoever builds the executable gets the guide the window opens.
add_dependencies(quillmark qm_manual)
