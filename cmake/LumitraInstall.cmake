# Install rules (top-level builds only) beside those of runtime/: the package
# version and pkg-config files, the tools, and LumitraDLib in Designer's
# plugin folder; plus an uninstall target that removes what was installed.
include(CMakePackageConfigHelpers)

# Designer looks for plugins in Qt's own plugin folder; with a prefix of one's
# own choosing the plugin goes under it (point QT_PLUGIN_PATH at
# <prefix>/lib/qt6/plugins then).
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(LUMITRA_DEFAULT_PLUGIN_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/designer)
else()
    set(LUMITRA_DEFAULT_PLUGIN_DIR ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer)
endif()
set(LUMITRA_DESIGNER_PLUGIN_DIR ${LUMITRA_DEFAULT_PLUGIN_DIR} CACHE PATH
    "Where LumitraDLib is installed (relative paths are under the install prefix)")

set(LUMITRA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lumitra)
set(LUMITRA_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# $ORIGIN-relative run paths from an install folder to the library folder.
function(lumitra_origin_rpath target dir)
    if(IS_ABSOLUTE "${dir}")
        set(from "${dir}")
    else()
        set(from "${CMAKE_INSTALL_PREFIX}/${dir}")
    endif()
    file(RELATIVE_PATH rel "${from}" "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}")
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${rel};${CMAKE_INSTALL_FULL_LIBDIR}")
endfunction()

# The library, its headers, exported targets and package config are installed
# by runtime/; the version file and the pkg-config file go beside them.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LumitraConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LumitraConfigVersion.cmake DESTINATION ${LUMITRA_CMAKE_DIR})

# pkg-config finds the prefix from where the file lies, so a staged or moved
# install still works.
file(RELATIVE_PATH LUMITRA_PC_TO_PREFIX "${CMAKE_INSTALL_PREFIX}/${LUMITRA_PKGCONFIG_DIR}" "${CMAKE_INSTALL_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/lumitra.pc.in ${PROJECT_BINARY_DIR}/lumitra.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/lumitra.pc DESTINATION ${LUMITRA_PKGCONFIG_DIR})

# lumitra-render brings its own install rule; both find the library from bin/.
foreach(tool lumitra-demo lumitra-render)
    if(TARGET ${tool})
        lumitra_origin_rpath(${tool} ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
if(TARGET lumitra-demo)
    install(TARGETS lumitra-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Folders the uninstall never removes, even when empty: the prefix's
# standard folders and Qt's plugin folder, which may hold other things.
set(LUMITRA_KEEP_DIRS ${CMAKE_INSTALL_PREFIX})
foreach(dir ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_INCLUDEDIR} lib ${CMAKE_INSTALL_LIBDIR}
            ${CMAKE_INSTALL_LIBDIR}/cmake ${LUMITRA_PKGCONFIG_DIR})
    list(APPEND LUMITRA_KEEP_DIRS ${CMAKE_INSTALL_PREFIX}/${dir})
endforeach()
if(TARGET LumitraDLib)
    lumitra_origin_rpath(LumitraDLib ${LUMITRA_DESIGNER_PLUGIN_DIR})
    install(TARGETS LumitraDLib LIBRARY DESTINATION ${LUMITRA_DESIGNER_PLUGIN_DIR})
    if(IS_ABSOLUTE "${LUMITRA_DESIGNER_PLUGIN_DIR}")
        list(APPEND LUMITRA_KEEP_DIRS ${LUMITRA_DESIGNER_PLUGIN_DIR})
    endif()
endif()
list(JOIN LUMITRA_KEEP_DIRS "|" LUMITRA_KEEP_DIRS)

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
            "-DKEEP_DIRS=${LUMITRA_KEEP_DIRS}"
            -P ${PROJECT_SOURCE_DIR}/cmake/LumitraUninstall.cmake
    COMMENT "Removing the installed Lumitra files"
    VERBATIM)
