# [DESTDIR=STAGE] cmake -D MANIFEST=BUILD/install_manifest.txt -P cmake/Uninstall.cmake
# Removes what the last install from that build put in place, as its
# manifest lists, and the launcher's folder, which only Tervane uses. The
# manifest leaves DESTDIR out, so a staged install is removed by giving the
# same DESTDIR again.
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "${MANIFEST} not found: nothing was installed from this build")
endif()
file(STRINGS "${MANIFEST}" installed)
foreach(listed IN LISTS installed)
    set(file "$ENV{DESTDIR}${listed}")
    if(EXISTS "${file}" OR IS_SYMLINK "${file}")
        message(STATUS "Removing ${file}")
        file(REMOVE "${file}")
    endif()
    if(file MATCHES "/tervane-in-settings-folder$")
        get_filename_component(folder "${file}" DIRECTORY)
        file(GLOB left "${folder}/*")
        if(IS_DIRECTORY "${folder}" AND NOT left)
            file(REMOVE_RECURSE "${folder}")
        endif()
    endif()
endforeach()
file(REMOVE "${MANIFEST}")
