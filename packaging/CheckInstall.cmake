# Installs the build tree into a scratch prefix and checks the file list a package
# is made from.
set(root ${BINARY_DIR}/packaging/install-check)
file(REMOVE_RECURSE ${root})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${root}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
set(expected
    bin/material bin/studypurge bin/sysreport
    share/korvex-tools/korwkmat.lib
    share/korvex-tools/help/material/index.html
    share/korvex-tools/help/studypurge/index.html
    share/applications/com.korvex.Material.desktop
    share/applications/com.korvex.StudyPurge.desktop
    share/applications/com.korvex.SysReport.desktop
    share/metainfo/com.korvex.Material.metainfo.xml
    share/metainfo/com.korvex.StudyPurge.metainfo.xml
    share/metainfo/com.korvex.SysReport.metainfo.xml
    share/mime/packages/com.korvex.plandry.xml
    share/doc/korvex-tools/copyright
    share/doc/korvex-tools/changelog.gz
    share/man/man1/material.1.gz)
foreach(size 16 32 48 64 128 256)
    foreach(app com.korvex.Material com.korvex.StudyPurge com.korvex.SysReport)
        list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${app}.png)
    endforeach()
endforeach()
set(missing)
foreach(file IN LISTS expected)
    if(NOT EXISTS ${root}/${file})
        list(APPEND missing ${file})
    endif()
endforeach()
file(REMOVE_RECURSE ${root})
if(missing)
    list(JOIN missing "\n  " text)
    message(FATAL_ERROR "not installed:\n  ${text}")
endif()
