# Every file of the commands is widget-free: they go into the core library, so a command loads no window.
set(CLI_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/argumentrules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/seriesrules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jsonlines.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clitexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/moduleruns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commandline.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commandoptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/seriescommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uploadreport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/designconfiguration.cpp
)
set(CLI_UI_SOURCES
)
