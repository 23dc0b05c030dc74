# Qt's headers are most of what each of our files compiles: a file of a few
# hundred lines parses some 100 000 lines of Qt before its own. Two
# precompiled headers are built once per build folder and shared:
#
#   Core     the Qt Core classes every layer uses; for every library and
#            program, the command-line tool and the emulator among them.
#   Widgets  Core plus the Gui and Widgets classes of the window; only for
#            the code that draws, so no widget declaration reaches the layers
#            below the window.
#
# A shared header must be compiled with the same flags as the files that use
# it; every target here shares the project's flags, and -Winvalid-pch with
# -Werror turns a mismatch into a build error rather than a silent slow build.
# check-complexity strips these headers from the compile database (clang
# cannot read GCC's precompiled files), so it parses the real includes.

set(VX_PCH_CORE
    <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash>
    <QList> <QObject> <QRegularExpression> <QString> <QStringList> <QTimer> <QVariant>
    <algorithm> <array> <chrono> <functional> <memory> <optional> <vector>)
set(VX_PCH_WIDGETS ${VX_PCH_CORE}
    <QAction> <QApplication> <QCheckBox> <QLabel> <QLineEdit> <QMenu> <QPainter>
    <QPushButton> <QWidget>)

add_library(vx_pch_core STATIC ${CMAKE_CURRENT_LIST_DIR}/precompiled.cpp)
target_link_libraries(vx_pch_core PRIVATE Qt6::Core)
target_precompile_headers(vx_pch_core PRIVATE ${VX_PCH_CORE})

add_library(vx_pch_widgets STATIC ${CMAKE_CURRENT_LIST_DIR}/precompiled.cpp)
target_link_libraries(vx_pch_widgets PRIVATE Qt6::Widgets)
target_precompile_headers(vx_pch_widgets PRIVATE ${VX_PCH_WIDGETS})
# They hold no class of their own: nothing for moc, and no empty moc file to
# compile for each.
set_target_properties(vx_pch_core vx_pch_widgets PROPERTIES AUTOMOC OFF)

# vx_use_precompiled(<core|widgets> target...)
function(vx_use_precompiled kind)
    foreach(target ${ARGN})
        target_precompile_headers(${target} REUSE_FROM vx_pch_${kind})
    endforeach()
endfunction()
