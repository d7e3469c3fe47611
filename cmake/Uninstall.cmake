# [DESTDIR=STAGE] cmake -D MANIFEST=BUILD/install_manifest.txt -P cmake/Uninstall.cmake
# Removes what the last install from that build put in place, as its
# manifest lists. The manifest leaves DESTDIR out, so a staged install is
# removed by giving the same DESTDIR again.
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
endforeach()
file(REMOVE "${MANIFEST}")
