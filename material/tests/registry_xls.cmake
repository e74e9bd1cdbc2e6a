# Unit-list setting (both back ends) and the spreadsheet import.
set(_here ${CMAKE_CURRENT_LIST_DIR})
kt_add_core_test(material_registry_test SOURCES ${_here}/registry_test.cpp
                 LIBS kt_material_settings)
kt_add_core_test(material_xls_test SOURCES ${_here}/xls_test.cpp LIBS kt_material_xls)
target_compile_definitions(material_xls_test PRIVATE KT_XLS_FIXTURES="${_here}/fixtures/xls")

# Windows only: the iconv and UTF-8 fopen under the cross-built workbook reader.
if(WIN32)
    kt_add_core_test(material_xls_iconv_test SOURCES ${_here}/xls_iconv_win_test.cpp
                     LIBS kt_freexl_win32)
endif()
