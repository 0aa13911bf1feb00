# Widget-free sources of this folder go into the core library, the commands (which build the pages for
# their load rules) into the ui library.
set(CLI_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/argumentrules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/seriesrules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jsonlines.cpp
)
set(CLI_UI_SOURCES
    src/cli/clitexts.cpp
    src/cli/moduleruns.cpp
    src/cli/commandline.cpp
    src/cli/commandoptions.cpp
    src/cli/seriescommands.cpp
    src/cli/uploadreport.cpp
    src/cli/designconfiguration.cpp
)
