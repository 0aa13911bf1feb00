# The window base: everything a window of the program stands on, and nothing that knows a particular window.
# All of it uses widgets, so it goes into the ui library.
set(WINDOW_UI_SOURCES
    src/window/formwindow.cpp
    src/window/settingsfile.cpp
    src/window/windowregistry.cpp
    src/window/help.cpp
    src/window/helpwindow.cpp
    src/window/twostatebutton.cpp
    src/window/pagehost.cpp
    src/window/startwarmup.cpp
)
