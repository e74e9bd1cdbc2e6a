# The native frame under Wine, with the program's own resources.
if(WIN32)
    kt_add_core_test(material_win32_frame_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_frame_test.cpp
                $<TARGET_OBJECTS:material_resources>
        LIBS kt_material_win32)
    kt_use_version(material_win32_frame_test)
    target_link_libraries(material_win32_frame_test PRIVATE version)
endif()

# The message boxes and file dialogs of the library operations, answered from a timer.
if(WIN32)
    kt_add_core_test(material_win32_prompts_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_prompts_test.cpp
        LIBS kt_material_win32)
endif()

# The frame and library window over the real library operations, with the sample library.
if(WIN32)
    kt_add_core_test(material_win32_browser_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_browser_test.cpp
                $<TARGET_OBJECTS:material_resources>
        LIBS kt_material_win32)
    target_compile_definitions(material_win32_browser_test PRIVATE
        KT_SAMPLE_LIBRARY="Z:${PROJECT_SOURCE_DIR}/examples/korwkmat.lib")
endif()

# The library window driven by keys and clicks, with the sample library.
if(WIN32)
    kt_add_core_test(material_win32_library_window_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_library_window_test.cpp
                $<TARGET_OBJECTS:material_resources>
        LIBS kt_material_win32)
    target_compile_definitions(material_win32_library_window_test PRIVATE
        KT_SAMPLE_LIBRARY="Z:${PROJECT_SOURCE_DIR}/examples/korwkmat.lib"
        KT_XLS_FIXTURES="Z:${CMAKE_CURRENT_LIST_DIR}/fixtures/xls")
    kt_read_workbooks_with_material(material_win32_library_window_test)
endif()

# The property panel over the real library operations, with the sample library.
if(WIN32)
    kt_add_core_test(material_win32_panel_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_panel_test.cpp
        LIBS kt_material_win32)
    target_compile_definitions(material_win32_panel_test PRIVATE
        KT_SAMPLE_LIBRARY="Z:${PROJECT_SOURCE_DIR}/examples/korwkmat.lib")
endif()
