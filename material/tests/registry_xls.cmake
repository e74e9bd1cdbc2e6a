# Unit-list setting (both back ends) and the spreadsheet import.
set(_here ${CMAKE_CURRENT_LIST_DIR})
if(WIN32)
    set(_settings_native ${_here}/registry_win_test.cpp)
else()
    set(_settings_native ${_here}/registry_posix_test.cpp)
endif()
kt_add_core_test(material_registry_test SOURCES ${_here}/registry_test.cpp ${_settings_native}
                 LIBS kt_material_settings)
kt_add_core_test(material_xls_test SOURCES ${_here}/xls_test.cpp LIBS kt_material_xls)
target_compile_definitions(material_xls_test PRIVATE KT_XLS_FIXTURES="${_here}/fixtures/xls")
target_sources(material_xls_test PRIVATE ${_here}/workbook_message_test.cpp)
# Reading workbooks in a child process (fork), against the inputs that broke the reader.
if(NOT WIN32)
    kt_add_core_test(material_workbook_child_test SOURCES ${_here}/workbook_child_test.cpp
                     LIBS kt_material_library)
    target_compile_definitions(material_workbook_child_test PRIVATE
        KT_WORKBOOK_SEEDS="${_here}/../fuzz/corpus/material_workbook_open_fuzzer")
endif()
# Windows only: the iconv and UTF-8 fopen under the cross-built workbook reader, and the
# reader's in-process stand-in for the child.
if(WIN32)
    kt_add_core_test(material_xls_win_test SOURCES ${_here}/xls_iconv_win_test.cpp
                     ${_here}/workbook_inprocess_win_test.cpp LIBS kt_material_xls kt_freexl_win32)
endif()
