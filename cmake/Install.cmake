# The installed layout, mirrored in the build tree: the programs in bin/, their data in share/
# (share/cs42 with the templates, the reference documents and the default schedule; the desktop
# entry, icons, metainfo, man pages and package documents). The programs find share/cs42 beside
# their bin folder (core/startup/InstalledData), so one rule serves an installation and a build.
include(GNUInstallDirs)

set(STAGE_DIR ${CMAKE_BINARY_DIR}/share)
set(APP_ID org.cs42.Worksheet)
set(CS42_SCREENSHOT_BASE_URL "https://cs42.invalid/docs/screenshots"
    CACHE STRING "Web folder that holds docs/screenshots, named in the AppStream metainfo")
set_target_properties(cs42 cs42-admin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(STAGED_FILES)
# Copies `source` to share/`target` in the build tree whenever it changes.
function(stage_file source target)
    add_custom_command(OUTPUT ${STAGE_DIR}/${target}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${STAGE_DIR}/${target}
        DEPENDS ${source} ${ARGN}
        VERBATIM)
    set(STAGED_FILES ${STAGED_FILES} ${STAGE_DIR}/${target} PARENT_SCOPE)
endfunction()

# Man pages and the Debian changelog are installed compressed, as Debian policy asks; -n keeps
# the time out of the file so that two builds give the same package.
function(stage_gzip source target)
    get_filename_component(folder ${STAGE_DIR}/${target} DIRECTORY)
    add_custom_command(OUTPUT ${STAGE_DIR}/${target}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${source} ${STAGE_DIR}/${target}
        DEPENDS ${source}
        VERBATIM)
    set(STAGED_FILES ${STAGED_FILES} ${STAGE_DIR}/${target} PARENT_SCOPE)
endfunction()

foreach(document QUON42.PDF CS42_2022.PDF CS42S_2023.PDF QUONSchedule.pdf QUONRule32.pdf)
    # Also after cs42-formgen is rebuilt, which regenerates the documents after linking.
    stage_file(${FORMS_OUTPUT_DIR}/${document} cs42/${document} cs42-formgen)
endforeach()
foreach(size 16 22 24 32 48 64 128 256 512)
    set(icon icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    add_custom_command(OUTPUT ${STAGE_DIR}/${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${STAGE_DIR}/icons/hicolor/${size}x${size}/apps
        COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> icon ${size} ${STAGE_DIR}/${icon}
        DEPENDS cs42-formgen
        VERBATIM)
    list(APPEND STAGED_FILES ${STAGE_DIR}/${icon})
endforeach()
stage_file(${CMAKE_SOURCE_DIR}/data/alabama-schedule-2022-05-01.csv cs42/alabama-schedule-2022-05-01.csv)
stage_file(${CMAKE_SOURCE_DIR}/data/README.md cs42/README.md)
stage_file(${CMAKE_SOURCE_DIR}/packaging/icons/${APP_ID}.svg icons/hicolor/scalable/apps/${APP_ID}.svg)
stage_file(${CMAKE_SOURCE_DIR}/packaging/${APP_ID}.desktop applications/${APP_ID}.desktop)
stage_file(${CMAKE_SOURCE_DIR}/packaging/copyright doc/cs42/copyright)
stage_gzip(${CMAKE_SOURCE_DIR}/packaging/changelog doc/cs42/changelog.gz)
stage_gzip(${CMAKE_SOURCE_DIR}/packaging/man/cs42.1 man/man1/cs42.1.gz)
stage_gzip(${CMAKE_SOURCE_DIR}/packaging/man/cs42-admin.1 man/man1/cs42-admin.1.gz)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${APP_ID}.metainfo.xml.in
    ${STAGE_DIR}/metainfo/${APP_ID}.metainfo.xml @ONLY)
add_custom_target(cs42-data ALL DEPENDS ${STAGED_FILES})

install(TARGETS cs42 cs42-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${STAGE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR})
