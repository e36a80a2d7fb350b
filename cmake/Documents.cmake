# The documents installed into VTRForms with the program, generated from source by cs42-formgen:
# the blank court forms of 2009 and 2022, the blank shared-custody form of 2023 and the two reference
# documents.
if(NOT TARGET cs42-formgen)
    return()
endif()

set(FORMS_OUTPUT_DIR ${CMAKE_BINARY_DIR}/forms)
set(CS42_SCHEDULE_CSV "${CMAKE_SOURCE_DIR}/data/alabama-schedule-2022-05-01.csv"
    CACHE FILEPATH "Schedule the QUONSchedule.pdf reference document is generated from")
set(FORMGEN_ENV ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen)

add_custom_command(
    OUTPUT ${FORMS_OUTPUT_DIR}/QUON42.PDF
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORMS_OUTPUT_DIR}
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> template ${FORMS_OUTPUT_DIR}/QUON42.PDF
    DEPENDS cs42-formgen
    COMMENT "Generating the blank CS-42 form QUON42.PDF"
    VERBATIM)

add_custom_command(
    OUTPUT ${FORMS_OUTPUT_DIR}/CS42_2022.PDF
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORMS_OUTPUT_DIR}
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> template-2022 ${FORMS_OUTPUT_DIR}/CS42_2022.PDF
    DEPENDS cs42-formgen
    COMMENT "Generating the blank CS-42 (Rev. 5/2022) form CS42_2022.PDF"
    VERBATIM)

add_custom_command(
    OUTPUT ${FORMS_OUTPUT_DIR}/CS42S_2023.PDF
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORMS_OUTPUT_DIR}
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> template-2023s ${FORMS_OUTPUT_DIR}/CS42S_2023.PDF
    DEPENDS cs42-formgen
    COMMENT "Generating the blank CS-42-S (Effective 6/2023) form CS42S_2023.PDF"
    VERBATIM)

if(EXISTS "${CS42_SCHEDULE_CSV}")
    set(SCHEDULE_SOURCE "${CS42_SCHEDULE_CSV}")
else()
    message(STATUS "No schedule at ${CS42_SCHEDULE_CSV}: QUONSchedule.pdf will say how to import one")
    set(SCHEDULE_SOURCE "")
endif()
add_custom_command(
    OUTPUT ${FORMS_OUTPUT_DIR}/QUONSchedule.pdf
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORMS_OUTPUT_DIR}
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> schedule ${SCHEDULE_SOURCE}
            ${FORMS_OUTPUT_DIR}/QUONSchedule.pdf
    DEPENDS cs42-formgen ${SCHEDULE_SOURCE}
    COMMENT "Generating the schedule reference QUONSchedule.pdf"
    VERBATIM)

add_custom_command(
    OUTPUT ${FORMS_OUTPUT_DIR}/QUONRule32.pdf
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORMS_OUTPUT_DIR}
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> rule32 ${FORMS_OUTPUT_DIR}/QUONRule32.pdf
    DEPENDS cs42-formgen
    COMMENT "Generating the worksheet reference QUONRule32.pdf"
    VERBATIM)

add_custom_target(cs42-documents ALL
    DEPENDS ${FORMS_OUTPUT_DIR}/QUON42.PDF ${FORMS_OUTPUT_DIR}/CS42_2022.PDF ${FORMS_OUTPUT_DIR}/CS42S_2023.PDF
            ${FORMS_OUTPUT_DIR}/QUONSchedule.pdf ${FORMS_OUTPUT_DIR}/QUONRule32.pdf)

# Tests and the UI read the generated forms through FORMS_DIR and only depend on cs42-formgen:
# regenerate them whenever the generator itself is rebuilt.
add_custom_command(TARGET cs42-formgen POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORMS_OUTPUT_DIR}
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> template ${FORMS_OUTPUT_DIR}/QUON42.PDF
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> template-2022 ${FORMS_OUTPUT_DIR}/CS42_2022.PDF
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> template-2023s ${FORMS_OUTPUT_DIR}/CS42S_2023.PDF
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> schedule ${SCHEDULE_SOURCE}
            ${FORMS_OUTPUT_DIR}/QUONSchedule.pdf
    COMMAND ${FORMGEN_ENV} $<TARGET_FILE:cs42-formgen> rule32 ${FORMS_OUTPUT_DIR}/QUONRule32.pdf
    COMMENT "Generating the installed documents in ${FORMS_OUTPUT_DIR}"
    VERBATIM)
