# The widget-free base every folder may include: the Windows-1252 codec, the INI codec and where the
# settings file lives. All of it goes into the core library.
set(CORE_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/cp1252.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inifile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settingslocation.cpp
)
