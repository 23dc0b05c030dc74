#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace vx {

// The command line of vx308-maint. The delivered tool reads none; these are
// for the workshop and for testing:
//   --factory        the factory menu ("Novo", "Pic -> PC", "PC -> Pic",
//                    defaults window)
//   --demo           start the vx308-emulator program and reach its
//                    pseudo-terminal on every port
//   --com N=PATH     port N is the device PATH (repeatable)
//   --data DIR       folder of the database files (default: current folder)
//   --autotest-read  press "Lêr", print the fields as JSON after the read and
//                    leave through "Sair da Aplicação"
//   --screenshot P   with --autotest-read: grab the window after the read
//                    into P-pt.png and P-en.png
//   --screen WxH     fit the window to a screen of this size
//   --timescale X    multiply every interval of the tool by X: the link's,
//                    the splash's, the silence before the not-answering
//                    notice and the records' retry
//   --shared-folder  print the folder the report layout is copied from and
//                    exit (1, naming the folders looked in, when it is
//                    missing): proves an installation complete
//   --user-data      keep the database files in the user's data folder
//   --trace FILE     write every frame sent and received to FILE
//   --records URL    the unit records: a postgresql:// URI of a shared
//                    database, or "local" for this PC's own Registo.db;
//                    kept for the next start (see RecordsChoice)
//   --version, --help
struct Options
{
    bool factory = false;
    bool demo = false;
    bool autotestRead = false;
    bool help = false;
    bool version = false;
    bool sharedFolder = false;
    bool userData = false;
    QStringList portPaths;
    QString dataFolder;
    QString screenshot;
    QString traceFile;
    QString records; // as given; empty: the choice kept from before
    QSize screenSize;
    double timeScale = 1.0;

    // Empty optional and a message naming the fault when the line is wrong.
    static std::optional<Options> parse(const QStringList &arguments, QString *error);
    static QString helpText();
};

} // namespace vx
