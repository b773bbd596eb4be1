#include "ui/CommandLine.h"

#include "platform/NotesFolder.h"
#include "ui/CalendarExchange.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace tilava {

namespace {

constexpr std::string_view kVolby[] = {"--export-ics", "--import-vcard", "--help",    "-h",
                                       "-?",           "--help-all",     "--version", "-v"};

bool JeNasa(std::string_view argument) {
    for (const std::string_view volba : kVolby) {
        if (argument == volba || (argument.starts_with(volba) && argument.size() > volba.size() &&
                                  argument[volba.size()] == '='))
            return true;
    }
    return false;
}

void Vypis(std::FILE* kam, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), kam);
    std::fflush(kam);
}

const char* const kPomoc =
    "Použitie: tilava [voľby]\n"
    "Tilava – menný kalendár. Bez volieb spustí widget.\n"
    "\n"
    "  --export-ics SÚBOR    uloží narodeniny, výročia a poznámky ako kalendár (iCalendar,\n"
    "                        .ics) pre kalendár v telefóne alebo v pošte\n"
    "  --import-vcard SÚBOR  pridá narodeniny kontaktov zo súboru vCard (.vcf) do poznámok\n"
    "  -h, --help            vypíše túto pomoc\n"
    "  -v, --version         vypíše verziu\n"
    "\n"
    "S oboma voľbami sa najprv importuje, potom exportuje. Návratová hodnota: 0 všetko sa\n"
    "podarilo, 1 niečo sa nepodarilo (pozri správu), 2 nesprávny príkazový riadok.\n";

} // namespace

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    bool nase = false;
    for (int i = 1; i < argc && !nase; ++i)
        nase = JeNasa(argv[i]);
    if (!nase)
        return std::nullopt;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tilava"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TILAVA_VERSION));

    QCommandLineParser parser;
    const QCommandLineOption exportIcs(QStringLiteral("export-ics"), {}, QStringLiteral("SÚBOR"));
    const QCommandLineOption importVcard(QStringLiteral("import-vcard"), {},
                                         QStringLiteral("SÚBOR"));
    const QCommandLineOption pomoc({QStringLiteral("h"), QStringLiteral("help"),
                                    QStringLiteral("?"), QStringLiteral("help-all")},
                                   {});
    const QCommandLineOption verzia({QStringLiteral("v"), QStringLiteral("version")}, {});
    parser.addOptions({exportIcs, importVcard, pomoc, verzia});
    if (!parser.parse(QCoreApplication::arguments())) {
        std::string chyba = parser.errorText().toStdString();
        if (chyba.ends_with('.'))
            chyba.pop_back();
        Vypis(stderr, "tilava: nesprávny príkazový riadok – " + chyba +
                          ".\nMožnosti vypíše „tilava --help“.\n");
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Vypis(stderr, "tilava: nečakaný argument „" +
                          parser.positionalArguments().constFirst().toStdString() +
                          "“.\nMožnosti vypíše „tilava --help“.\n");
        return 2;
    }
    if (parser.isSet(pomoc)) {
        Vypis(stdout, kPomoc);
        return 0;
    }
    if (parser.isSet(verzia)) {
        Vypis(stdout, "Tilava " TILAVA_VERSION "\n");
        return 0;
    }

    const std::filesystem::path priecinok = NotesFolder();
    auto cesta = [](const QString& s) { return std::filesystem::path(s.toStdU16String()); };
    bool uspech = true;
    if (parser.isSet(importVcard)) {
        const ExchangeResult v = ImportContactsFile(priecinok, cesta(parser.value(importVcard)));
        Vypis(stdout, v.sprava);
        uspech = uspech && v.uspech;
    }
    if (parser.isSet(exportIcs)) {
        const ExchangeResult v = ExportCalendarFile(priecinok, cesta(parser.value(exportIcs)));
        Vypis(stdout, v.sprava);
        uspech = uspech && v.uspech;
    }
    return uspech ? 0 : 1;
}

} // namespace tilava
