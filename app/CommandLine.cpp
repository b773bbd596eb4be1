#include "app/CommandLine.h"

#include "core/Utf8.h"
#include "exchange/CalendarExchange.h"
#include "platform/NotesFolder.h"
#include "platform/StandardOutput.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <filesystem>
#include <string>
#include <string_view>

namespace tilava {

namespace {

constexpr std::string_view kVolby[] = {
    "--export-ics", "--import-vcard", "--force",   "--help", "-h",
    "-?",           "--help-all",     "--version", "-v"};

bool JeNasa(std::string_view argument) {
    for (const std::string_view volba : kVolby) {
        if (argument == volba || (argument.starts_with(volba) && argument.size() > volba.size() &&
                                  argument[volba.size()] == '='))
            return true;
    }
    return false;
}

void Vypis(StandardStream kam, const std::string& text) {
    // A name from a vCard or a file name must not drive the user's terminal.
    WriteStandard(kam, PrintableText(text));
}

const char* const kPomoc =
    "Použitie: tilava [voľby]\n"
    "Tilava – menný kalendár. Bez volieb spustí widget.\n"
    "\n"
    "  --export-ics SÚBOR    uloží narodeniny, výročia a poznámky ako kalendár (iCalendar,\n"
    "                        .ics) pre kalendár v telefóne alebo v pošte\n"
    "  --import-vcard SÚBOR  pridá narodeniny kontaktov zo súboru vCard (.vcf) do poznámok\n"
    "  --force               dovolí exportu prepísať aj existujúci súbor, ktorý nie je\n"
    "                        kalendárom (inak ho export odmietne prepísať)\n"
    "  -h, --help            vypíše túto pomoc\n"
    "  -v, --version         vypíše verziu\n"
    "\n"
    "Každú voľbu možno zadať aj viackrát: najprv sa importujú všetky súbory v zadanom poradí,\n"
    "potom sa exportuje do všetkých súborov. Export nikdy nezapíše do priečinka poznámok ani\n"
    "nastavení Tilavy, ani do pomenovanej rúry, zariadenia či priečinka, a nejde cez symbolický\n"
    "odkaz, ktorý mu nepatrí. Návratová hodnota: 0 všetko sa podarilo, 1 niečo sa nepodarilo\n"
    "alebo export súbor odmietol (pozri správu), 2 nesprávny príkazový riadok.\n";

} // namespace

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    bool ours = false;
    for (int i = 1; i < argc && !ours; ++i)
        ours = JeNasa(argv[i]);
    if (!ours)
        return std::nullopt;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tilava"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TILAVA_VERSION));

    QCommandLineParser parser;
    const QCommandLineOption exportIcs(QStringLiteral("export-ics"), {}, QStringLiteral("SÚBOR"));
    const QCommandLineOption importVcard(QStringLiteral("import-vcard"), {},
                                         QStringLiteral("SÚBOR"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?"),
                                   QStringLiteral("help-all")},
                                  {});
    const QCommandLineOption verzia({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption force(QStringLiteral("force"), {});
    parser.addOptions({exportIcs, importVcard, force, help, verzia});
    if (!parser.parse(QCoreApplication::arguments())) {
        std::string error = parser.errorText().toStdString();
        if (error.ends_with('.'))
            error.pop_back();
        Vypis(StandardStream::Error, "tilava: nesprávny príkazový riadok – " + error +
                                         ".\nMožnosti vypíše „tilava --help“.\n");
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Vypis(StandardStream::Error, "tilava: nečakaný argument „" +
                                         parser.positionalArguments().constFirst().toStdString() +
                                         "“.\nMožnosti vypíše „tilava --help“.\n");
        return 2;
    }
    if (parser.isSet(help)) {
        Vypis(StandardStream::Output, kPomoc);
        return 0;
    }
    if (parser.isSet(verzia)) {
        Vypis(StandardStream::Output, "Tilava " TILAVA_VERSION "\n");
        return 0;
    }

    for (const QString& subor : parser.values(importVcard) + parser.values(exportIcs)) {
        if (subor.isEmpty()) {
            Vypis(StandardStream::Error,
                  "tilava: voľby --import-vcard a --export-ics potrebujú meno súboru, "
                  "nie prázdny text.\nMožnosti vypíše „tilava --help“.\n");
            return 2;
        }
    }
    if (parser.isSet(force) && !parser.isSet(exportIcs)) {
        Vypis(StandardStream::Error, "tilava: voľba --force platí len spolu s --export-ics.\n"
                                     "Možnosti vypíše „tilava --help“.\n");
        return 2;
    }

    // A repeated option is done each time, in the order given (all imports first, then every
    // export, as with one of each): a user who names two vCard files means both, and keeping
    // only the last one while reporting success would lose the others without a word.
    const std::filesystem::path folder = NotesFolder();
    auto path = [](const QString& s) { return std::filesystem::path(s.toStdU16String()); };
    const ExistingExport existing =
        parser.isSet(force) ? ExistingExport::Any : ExistingExport::CalendarOnly;
    bool success = true;
    auto ohlas = [&success](const ExchangeResult& v) {
        Vypis(v.success ? StandardStream::Output : StandardStream::Error, v.message);
        success = success && v.success;
    };
    for (const QString& subor : parser.values(importVcard))
        ohlas(ImportContactsFile(folder, path(subor)));
    for (const QString& subor : parser.values(exportIcs))
        ohlas(ExportCalendarFile(folder, path(subor), existing));
    return success ? 0 : 1;
}

} // namespace tilava
