# Property grid (Qt, offscreen) and the sample library with its generator.
set(_grid_here ${CMAKE_CURRENT_LIST_DIR})
set(_tools ${PROJECT_SOURCE_DIR}/material/tools)

add_library(kt_material_samples STATIC EXCLUDE_FROM_ALL ${_tools}/SampleLibrary.cpp)
target_include_directories(kt_material_samples PUBLIC ${_tools})
target_link_libraries(kt_material_samples PUBLIC kt_material_data)

# Built on demand: cmake --build <build> --target make_korwkmat, then
# <build>/bin/make_korwkmat examples/korwkmat.lib
add_executable(make_korwkmat EXCLUDE_FROM_ALL ${_tools}/make_korwkmat.cpp)
target_link_libraries(make_korwkmat PRIVATE kt_material_samples)

# Built on demand: cmake --build <build> --target make_screenshots, then
# <build>/bin/make_screenshots examples/korwkmat.lib docs
if(KT_BUILD_UI)
    add_executable(make_screenshots EXCLUDE_FROM_ALL ${_tools}/make_screenshots.cpp)
    target_link_libraries(make_screenshots PRIVATE kt_material_browser)
endif()

kt_add_core_test(material_sample_library_test
    SOURCES ${_grid_here}/sample_library_test.cpp
    LIBS kt_material_samples)
if(TARGET material_sample_library_test)
    target_compile_definitions(material_sample_library_test PRIVATE
                               KT_SAMPLE_LIBRARY="${PROJECT_SOURCE_DIR}/examples/korwkmat.lib")
endif()
if(KT_BUILD_UI)
    kt_add_qt_test(material_grid_test SOURCES ${_grid_here}/grid_test.cpp LIBS kt_material_grid)
endif()
