# The installed layout, mirrored in the build tree: the programs in bin/, their data in share/
# (share/cs42 with the template, the reference documents and the default schedule; the desktop
# entry, icons, metainfo, man pages and package documents). The programs find share/cs42 beside
# their bin folder (core/store/InstalledData), so one rule serves an installation and a build.
include(GNUInstallDirs)

set(STAGE_DIR ${CMAKE_BINARY_DIR}/share)
set(APP_ID org.cs42.Worksheet)
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

if(TARGET cs42-documents)
    foreach(document QUON42.PDF QUONSchedule.pdf QUONRule32.pdf)
        # Also after cs42-formgen is rebuilt, which regenerates the documents after linking.
        stage_file(${FORMS_OUTPUT_DIR}/${document} cs42/${document} cs42-formgen)
    endforeach()
endif()
stage_file(${CMAKE_SOURCE_DIR}/data/alabama-schedule-2022-05-01.csv cs42/alabama-schedule-2022-05-01.csv)
stage_file(${CMAKE_SOURCE_DIR}/data/README.md cs42/README.md)
add_custom_target(cs42-data ALL DEPENDS ${STAGED_FILES})

install(TARGETS cs42 cs42-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${STAGE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR})
