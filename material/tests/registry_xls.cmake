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
