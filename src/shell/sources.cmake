# Widget-free sources of this folder go into the core library, windows into the ui library.
set(SHELL_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sysinfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settingstexts.cpp
)
set(SHELL_UI_SOURCES
    src/shell/windowcatalog.cpp
    src/shell/frmstart.cpp
    src/shell/startsave.cpp
    src/shell/frmabout.cpp
    src/shell/configuration.cpp
    src/shell/configfiles.cpp
    src/shell/startoffers.cpp
    src/shell/recentstore.cpp
    src/shell/recoverycopy.cpp
    src/shell/serieswindow.cpp
    src/shell/comparewindow.cpp
    src/shell/seriestexts.cpp
    src/shell/startseries.cpp
)

# Pictures and help topics bundled into the program (aliases relative to resources/).
file(GLOB_RECURSE RESOURCE_FILES CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/*
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/*
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/help/*)
