# Main frame of the browser: help path rules (both legs) and the frame widgets (Qt).
if(WIN32)
    set(_help_native ${CMAKE_CURRENT_LIST_DIR}/help_paths_win_test.cpp)
else()
    set(_help_native ${CMAKE_CURRENT_LIST_DIR}/help_paths_posix_test.cpp)
endif()
kt_add_core_test(material_help_paths_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_paths_test.cpp ${_help_native}
    LIBS kt_material_platform)
if(KT_BUILD_UI)
    kt_add_qt_test(material_frame_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_test.cpp
        LIBS kt_material_frame)
endif()

# The help book handed to the desktop (Linux), with a scripted desktop.
if(KT_BUILD_UI AND NOT WIN32)
    kt_add_core_test(material_desktop_help_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_help_test.cpp
        LIBS kt_material_desktop_help)
    add_dependencies(material_desktop_help_test material_help)
endif()

# The library window and the frame's library commands (Qt), with scripted answers.
if(KT_BUILD_UI)
    kt_add_qt_test(material_baseform_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/baseform_test.cpp
        LIBS kt_material_browser)
endif()

# The property panel through the real window (Qt), with scripted answers and the
# sample library.
if(KT_BUILD_UI)
    kt_add_qt_test(material_panel_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/panel_test.cpp
        LIBS kt_material_browser)
    target_compile_definitions(material_panel_test PRIVATE
        KT_SAMPLE_LIBRARY="${PROJECT_SOURCE_DIR}/examples/korwkmat.lib")
endif()
