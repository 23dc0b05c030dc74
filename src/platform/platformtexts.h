#pragma once

#include "text.h"

#include <array>

namespace vx {

// What the platform adapters say of a failure, both languages side by side,
// found by key. These texts are the reason inside a message of the caller's,
// in the language the caller gives or else the program's.

// A file written whole or not at all, and read only when it is a plain file:
// %1 the file, %2 the system's reason or what the file is instead.
inline constexpr std::array<Text, 9> kSafeFileTexts{{
    {"writeFailed",
     "não foi possível escrever %1: %2; um ficheiro anterior com esse nome ficou como estava",
     "cannot write %1: %2; an older file of that name was left as it was"},
    {"readFailed", "não foi possível ler %1: %2", "cannot read %1: %2"},
    {"folder", "uma pasta", "a folder"},
    {"fifo", "um FIFO", "a FIFO"},
    {"socket", "um socket", "a socket"},
    {"device", "um dispositivo", "a device"},
    {"notRegular", "%1 é %2, não um ficheiro normal", "%1 is %2, not a regular file"},
    {"notReplaced", "; não foi substituído", "; it was not replaced"},
    {"tooLarge", "%1 tem mais de %2 kB", "%1 is larger than %2 kB"},
}};

// A file that comes with the program: %1 its name, %2 the folders looked in.
inline constexpr std::array<Text, 1> kSharedFilesTexts{{
    {"missing",
     "O ficheiro %1, que vem com o programa, não está em nenhuma destas pastas: %2. Reinstale o "
     "pacote vx308 ou, a partir do código, volte a compilar (cmake --build).",
     "The file %1, which comes with the program, is in none of these folders: %2. Reinstall the "
     "vx308 package or, from the source, build it again (cmake --build)."},
}};

// A database, a SQLite file or a PostgreSQL server: %1 where it is, %2 the
// driver's own words. Only a server holds the records alone; a file is named
// as a file, a server's records as the records at its URI.
inline constexpr std::array<Text, 15> kRecordsDatabaseTexts{{
    {"unknownError", "erro desconhecido", "unknown error"},
    {"noServer", "Não foi possível ligar aos registos em %1: %2",
     "The records at %1 cannot be reached: %2"},
    {"noFile", "Não foi possível abrir o ficheiro %1: %2", "The file %1 cannot be opened: %2"},
    {"retry", " (Tentado outra vez daqui a %1 s.)", " (Tried again in %1 s.)"},
    {"noPostgresDriver",
     "O controlador PostgreSQL do Qt não está instalado (pacote libqt6sql6-psql).",
     "Qt's PostgreSQL driver is not installed (package libqt6sql6-psql)."},
    {"noSqliteDriver", "O controlador SQLite do Qt não está instalado (pacote libqt6sql6-sqlite).",
     "Qt's SQLite driver is not installed (package libqt6sql6-sqlite)."},
    {"fileMissing", "O ficheiro %1 não existe.", "The file %1 does not exist."},
    {"connectionLost", "A ligação aos registos em %1 perdeu-se.",
     "The connection to the records at %1 was lost."},
    // Any database file (the defaults' ValoresPre1.db too) or server.
    {"unexpectedAnswer", "A base de dados %1 não respondeu como esperado: %2",
     "The database %1 did not answer as expected: %2"},
    {"unexpectedServerAnswer", "Os registos em %1 não responderam como esperado: %2",
     "The records at %1 did not answer as expected: %2"},
    // A text refused before it is bound: %1 where, %2 the text as shown, %3
    // the column, %4 the table, %5 what is wrong with it.
    {"unstorable",
     "A base de dados %1 não recebeu o texto %2 da coluna %3 da tabela %4: tem %5, que uma base "
     "de dados não guarda. Nada lhe foi enviado e ficou como estava; corrija esse valor (se foi "
     "lido do temporizador, acerte-o no temporizador) e tente outra vez.",
     "The database %1 was not given the text %2 for the column %3 of the table %4: it holds %5, "
     "which a database cannot store. Nothing was sent to it, and it is as it was; correct that "
     "value (if it was read from the timer, set it right on the timer) and try again."},
    {"unstorableServer",
     "Os registos em %1 não receberam o texto %2 da coluna %3 da tabela %4: tem %5, que uma base "
     "de dados não guarda. Nada lhes foi enviado e ficaram como estavam; corrija esse valor (se "
     "foi lido do temporizador, acerte-o no temporizador) e tente outra vez.",
     "The records at %1 were not given the text %2 for the column %3 of the table %4: it holds "
     "%5, which a database cannot store. Nothing was sent to them, and they are as they were; "
     "correct that value (if it was read from the timer, set it right on the timer) and try "
     "again."},
    // A ? the statement gives no column for: %1 its place, from 1.
    {"boundValue", "(valor n.º %1)", "(value no. %1)"},
    // %1 the character as U+XXXX, %2 its place in the text, from 1.
    {"nulCharacter", "um carácter NUL (%1) na posição %2", "a NUL character (%1) at place %2"},
    {"loneSurrogate", "meio par de substituição UTF-16 (%1) na posição %2, sem forma em UTF-8",
     "half of a UTF-16 surrogate pair (%1) at place %2, which has no UTF-8 form"},
}};

// Why a report was not printed or saved as a PDF file.
inline constexpr std::array<Text, 8> kReportPrinterTexts{{
    {"notStarted", "não foi possível iniciar a impressão", "the printing could not be started"},
    {"page", "não foi possível passar à página %1", "could not go on to page %1"},
    {"notFinished", "a impressão não terminou", "the printing did not finish"},
    {"printerError", "a impressora indicou um erro", "the printer reported an error"},
    {"noDefault", "não há impressora predefinida", "there is no default printer"},
    {"unavailable", "a impressora %1 não está disponível", "the printer %1 is not available"},
    {"noPdfFile", "não foi indicado o ficheiro PDF", "no PDF file was given"},
    {"notWritten", "o ficheiro %1 não foi escrito", "the file %1 was not written"},
}};

// Every text table of the platform adapters, for the completeness check.
inline constexpr std::array<TextTable, 4> kPlatformTextTables{{
    {"kSafeFileTexts", kSafeFileTexts},
    {"kSharedFilesTexts", kSharedFilesTexts},
    {"kRecordsDatabaseTexts", kRecordsDatabaseTexts},
    {"kReportPrinterTexts", kReportPrinterTexts},
}};

} // namespace vx
