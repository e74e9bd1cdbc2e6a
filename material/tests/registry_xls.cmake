# On Windows a test program is no workbook reader: material.exe reads for it.
function(kt_read_workbooks_with_material target)
    if(WIN32 AND TARGET ${target})
        target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/workbook_reader_program_win.cpp)
        target_compile_definitions(${target} PRIVATE KT_MATERIAL_PROGRAM="Z:$<TARGET_FILE:material>")
        add_dependencies(${target} material)
    endif()
endfunction()

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
# reader program (material.exe, and a stand-in that misbehaves on request).
if(WIN32)
    add_executable(workbook_reader_stub ${_here}/workbook_reader_stub_win.cpp)
    target_link_libraries(workbook_reader_stub PRIVATE kt_material_xls)
    kt_add_core_test(material_xls_win_test SOURCES ${_here}/xls_iconv_win_test.cpp
                     ${_here}/workbook_reader_win_test.cpp LIBS kt_material_xls kt_freexl_win32)
    add_dependencies(material_xls_win_test material workbook_reader_stub)
    target_compile_definitions(material_xls_win_test PRIVATE
        KT_MATERIAL_PROGRAM="Z:$<TARGET_FILE:material>"
        KT_READER_STUB="Z:$<TARGET_FILE:workbook_reader_stub>"
        KT_XLS_FIXTURES="Z:${_here}/fixtures/xls"
        KT_WORKBOOK_SEEDS="Z:${_here}/../fuzz/corpus/material_workbook_open_fuzzer")
    kt_read_workbooks_with_material(material_xls_test)
endif()
