# The widget-free base every folder may include: the program's name and version, the Windows-1252 codec,
# the INI codec, where the settings file lives and what kind of file a path names, CSV lines and time stamps
# for files people and scripts read, the rules a stored value follows (key filters, field rules, limits, the
# notification kinds) and the parameter record with the table of its fields. All of it goes into the core
# library.
set(CORE_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/appsetup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cp1252.cpp
    ${CMAKE_CURRENT_LIST_DIR}/csv.cpp
    ${CMAKE_CURRENT_LIST_DIR}/configfields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/configuration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/configurationmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pagemodelrules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm1model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm2model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm3model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm4model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm5model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm6model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm7model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm9model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fieldrule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keyfilters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/limitrule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/notifykinds.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parameterrecord.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recordtable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filekind.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inifile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settingslocation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unitsfile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/configdiff.cpp
)
