# Widget-free sources of this folder go into the core library, windows into the ui library.
set(COMM_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/seriallink.cpp ${CMAKE_CURRENT_LIST_DIR}/portcatalog.cpp ${CMAKE_CURRENT_LIST_DIR}/linksession.cpp ${CMAKE_CURRENT_LIST_DIR}/uploadsession.cpp ${CMAKE_CURRENT_LIST_DIR}/statussession.cpp ${CMAKE_CURRENT_LIST_DIR}/statuslog.cpp ${CMAKE_CURRENT_LIST_DIR}/signallevel.cpp ${CMAKE_CURRENT_LIST_DIR}/smssession.cpp ${CMAKE_CURRENT_LIST_DIR}/history.cpp
    ${CMAKE_CURRENT_LIST_DIR}/portdiagnosis.cpp
    ${CMAKE_CURRENT_LIST_DIR}/historymodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frm8texts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/statuslogtexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/porttexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/historytexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uploadlog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uploadreport.cpp
)
set(COMM_UI_SOURCES
    src/comm/frm8.cpp
    src/comm/portselection.cpp
    src/comm/runcontroller.cpp
    src/comm/signalstrength.cpp
    src/comm/smsform.cpp
    src/comm/registrycontrolvalues.cpp
    src/comm/historyrecorder.cpp
    src/comm/historycurve.cpp
    src/comm/historywindow.cpp
)
