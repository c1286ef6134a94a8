# Qt Test executables of the desktop, run under the offscreen platform on the
# GStreamer media back end.
find_package(Qt6 REQUIRED COMPONENTS Test)

if(NOT TARGET qm_desktop_test_support)
  add_library(qm_desktop_test_support STATIC ${CMAKE_SOURCE_DIR}/tests/app/TestSupport.cpp)
  target_link_libraries(qm_desktop_test_support PUBLIC quillmark_app quillmark_probe Qt6::Test)
  target_include_directories(qm_desktop_test_support PUBLIC ${CMAKE_SOURCE_DIR})
endif()

function(qm_add_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE qm_desktop_test_support)
  target_compile_definitions(${name} PRIVATE QM_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             QM_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_MEDIA_BACKEND=gstreamer"
    TIMEOUT 300)
endfunction()
