# zbdesktop: the desktop platform on wxWidgets (GTK 3): clock, input, message
# boxes, file dialogs, launching programs, and the application, frame and
# view skeleton the desktop programs build on.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS core base)

add_library(zbdesktop
    wxapp.cpp wxfiledialog.cpp wxkeys.cpp wxlauncher.cpp wxmessagebox.cpp
    wxplatform.cpp wxview.cpp)
target_link_libraries(zbdesktop PUBLIC zbplatform zbgraphics ${wxWidgets_LIBRARIES} ${CMAKE_DL_LIBS})
# wx's own headers are not held to our warning flags.
target_include_directories(zbdesktop SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(zbdesktop PUBLIC ${wxWidgets_DEFINITIONS})
separate_arguments(zb_wx_flags UNIX_COMMAND "${wxWidgets_CXX_FLAGS}")
target_compile_options(zbdesktop PUBLIC ${zb_wx_flags})

# Desktop tests: they need a display (xvfb-run) and drive real windows and
# dialogs. The test program has its own main, which starts the toolkit.
zanbel_add_tests(zbdesktop_tests LABEL desktop
    SOURCES wxtest_main.cpp wxkeys_test.cpp wxlauncher_test.cpp wxmessagebox_test.cpp
            wxplatform_test.cpp wxview_test.cpp wxfiledialog_test.cpp
    LIBS zbdesktop)
