# Installs into a private root and checks that the desktop finds the game there.
file(REMOVE_RECURSE ${DEST})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DEST} ${CMAKE_COMMAND} --install ${BUILD}
                --prefix /usr RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()
foreach(f bin/lotaro share/applications/org.example.Lotaro.desktop
          share/metainfo/org.example.Lotaro.metainfo.xml share/man/man6/lotaro.6
          share/icons/hicolor/16x16/apps/org.example.Lotaro.png
          share/icons/hicolor/256x256/apps/org.example.Lotaro.png)
    if(NOT EXISTS ${DEST}/usr/${f})
        message(FATAL_ERROR "missing after install: /usr/${f}")
    endif()
endforeach()
execute_process(COMMAND ${DEST}/usr/bin/lotaro --version OUTPUT_VARIABLE version RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT version MATCHES "^lotaro [0-9]")
    message(FATAL_ERROR "lotaro --version answered '${version}' (${result})")
endif()
