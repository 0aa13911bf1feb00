# Widget-free sources of this folder go into the core library, windows into the ui library.
set(PAGES_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/keyfilters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/notifykinds.cpp
)
set(PAGES_UI_SOURCES
    src/pages/pagewindow.cpp
    src/pages/pagerules.cpp
    src/pages/keyfilteradapter.cpp
    src/pages/notifysets.cpp
    src/pages/frm1.cpp
    src/pages/frm2.cpp
    src/pages/frm3.cpp
    src/pages/frm4.cpp
    src/pages/frm5.cpp
    src/pages/frm6.cpp
    src/pages/frm7.cpp
    src/pages/frm9.cpp
    src/pages/limitfield.cpp src/pages/inputpageparts.cpp
)
