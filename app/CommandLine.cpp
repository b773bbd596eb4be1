#include "app/CommandLine.h"

#include "core/Utf8.h"
#include "exchange/CalendarExchange.h"
#include "platform/NotesFolder.h"
#include "platform/StandardOutput.h"
#include "store/SyncSettings.h"
#include "store/uRegi.h"

#include <QCoreApplication>
#include <QStringList>

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace tilava {

namespace {

enum class Takes { Nothing, Value };

struct KnownOption {
    std::string_view name;
    Takes takes;
};

// The program's own options, spelt exactly so.
constexpr KnownOption kOwnOptions[] = {{"--export-ics", Takes::Value},
                                       {"--import-vcard", Takes::Value},
                                       {"--force", Takes::Nothing},
                                       {"--sync", Takes::Nothing},
                                       {"--help", Takes::Nothing},
                                       {"-h", Takes::Nothing},
                                       {"-?", Takes::Nothing},
                                       {"--help-all", Takes::Nothing},
                                       {"--version", Takes::Nothing},
                                       {"-v", Takes::Nothing},
                                       {"--sync-allow-removals", Takes::Nothing}};

// Qt 6.4's own arguments, which QCoreApplication, QGuiApplication, QApplication and the X11
// platform take out of the command line before the program sees it, each with one dash or two
// ("-platform", "--platform"). A value follows as the next argument; "-style=", "-stylesheet="
// and "-qmljsdebugger=" also take it after the sign.
constexpr KnownOption kQtOptions[] = {{"platform", Takes::Value},
                                      {"platformpluginpath", Takes::Value},
                                      {"platformtheme", Takes::Value},
                                      {"plugin", Takes::Value},
                                      {"qwindowgeometry", Takes::Value},
                                      {"qwindowtitle", Takes::Value},
                                      {"qwindowicon", Takes::Value},
                                      {"geometry", Takes::Value},
                                      {"title", Takes::Value},
                                      {"icon", Takes::Value},
                                      {"session", Takes::Value},
                                      {"style", Takes::Value},
                                      {"stylesheet", Takes::Value},
                                      {"display", Takes::Value},
                                      {"name", Takes::Value},
                                      {"visual", Takes::Value},
                                      {"reverse", Takes::Nothing},
                                      {"testability", Takes::Nothing},
                                      {"widgetcount", Takes::Nothing},
                                      {"qdevel", Takes::Nothing},
                                      {"qdebug", Takes::Nothing},
                                      {"nograb", Takes::Nothing},
                                      {"dograb", Takes::Nothing}};
constexpr std::string_view kQtOptionsWithSign[] = {"style=", "stylesheet=", "qmljsdebugger="};

const KnownOption* Find(std::span<const KnownOption> options, std::string_view name) {
    for (const KnownOption& option : options)
        if (option.name == name)
            return &option;
    return nullptr;
}

// What the command line asks for; `error` (Slovak) when it is wrong.
struct Request {
    bool own = false; // any option of the program's own: it runs without a window
    bool help = false;
    bool version = false;
    bool force = false;
    bool sync = false;
    bool allowRemovals = false; // the sync may remove many entries at once
    QStringList imports;
    QStringList exports;
    std::string error;
};

std::string Quoted(const QString& text) {
    return "„" + text.toStdString() + "“";
}

Request Scan(const QStringList& arguments) {
    Request request;
    auto fail = [&request](std::string why) {
        if (request.error.empty())
            request.error = std::move(why);
    };
    for (qsizetype i = 1; i < arguments.size() && request.error.empty(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            if (i + 1 < arguments.size())
                fail("nečakaný argument " + Quoted(arguments[i + 1]));
            break;
        }
        if (argument.size() < 2 || !argument.startsWith(QLatin1Char('-'))) {
            fail("nečakaný argument " + Quoted(argument));
            break;
        }
        const std::string text = argument.toStdString();
        const std::size_t sign = text.find('=');
        const std::string name = text.substr(0, sign);
        const KnownOption* own = Find(kOwnOptions, name);
        if (own != nullptr) {
            request.own = true;
            QString value;
            if (own->takes == Takes::Nothing) {
                if (sign != std::string::npos)
                    fail("voľba " + Quoted(QString::fromStdString(name)) + " nemá hodnotu");
            } else if (sign != std::string::npos) {
                value = argument.mid(static_cast<qsizetype>(sign) + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                fail("voľbe " + Quoted(argument) + " chýba hodnota");
            }
            if (name == "--export-ics")
                request.exports.append(value);
            else if (name == "--import-vcard")
                request.imports.append(value);
            else if (name == "--force")
                request.force = true;
            else if (name == "--sync")
                request.sync = true;
            else if (name == "--sync-allow-removals")
                request.sync = request.allowRemovals = true;
            else if (name == "--version" || name == "-v")
                request.version = true;
            else
                request.help = true;
            continue;
        }
        const std::string_view bare = std::string_view(text).substr(text.starts_with("--") ? 2 : 1);
        const KnownOption* qt = Find(kQtOptions, bare);
        if (qt != nullptr) {
            if (qt->takes == Takes::Value && ++i >= arguments.size())
                fail("voľbe " + Quoted(argument) + " chýba hodnota");
            continue;
        }
        bool withSign = false;
        for (const std::string_view prefix : kQtOptionsWithSign)
            withSign = withSign || bare.starts_with(prefix);
        if (!withSign)
            fail("neznáma voľba " + Quoted(argument));
    }
    return request;
}

// The reports; a failed write fails the run, and standard error says so when it can.
class Reporter {
public:
    void Say(StandardStream stream, const std::string& text) {
        // A name from a vCard or a file name must not drive the user's terminal.
        if (!WriteStandard(stream, PrintableText(text)))
            (stream == StandardStream::Output ? outputFailed_ : errorFailed_) = true;
    }
    void Wrong(const std::string& why) {
        Say(StandardStream::Error, "tilava: nesprávny príkazový riadok – " + why +
                                       ".\nMožnosti vypíše „tilava --help“.\n");
    }
    int Finish(int status) {
        if (outputFailed_)
            Say(StandardStream::Error, "tilava: správu sa nepodarilo vypísať na štandardný "
                                       "výstup (je zatvorený alebo plný).\n");
        return status == 0 && (outputFailed_ || errorFailed_) ? 1 : status;
    }

private:
    bool outputFailed_ = false;
    bool errorFailed_ = false;
};

const char* const kPomoc =
    "Použitie: tilava [voľby]\n"
    "Tilava – menný kalendár. Bez volieb spustí widget.\n"
    "\n"
    "  --export-ics SÚBOR    uloží narodeniny, výročia a poznámky ako kalendár (iCalendar,\n"
    "                        .ics) pre kalendár v telefóne alebo v pošte\n"
    "  --import-vcard SÚBOR  pridá narodeniny kontaktov zo súboru vCard (.vcf) do poznámok\n"
    "  --force               dovolí exportu prepísať aj existujúci súbor, ktorý nie je\n"
    "                        kalendárom (inak ho export odmietne prepísať)\n"
    "  --sync                zosynchronizuje poznámky s kalendárom na serveri (CalDAV) podľa\n"
    "                        nastavenia synchronizácie (adresa, používateľ; heslo v úložisku\n"
    "                        hesiel systému)\n"
    "  --sync-allow-removals rovnaká synchronizácia, ktorá smie z poznámok odstrániť aj veľa\n"
    "                        záznamov naraz (bez tejto voľby ich neodstráni a ohlási)\n"
    "  -h, --help            vypíše túto pomoc\n"
    "  -v, --version         vypíše verziu\n"
    "\n"
    "Každú voľbu možno zadať aj viackrát: najprv sa importujú všetky súbory v zadanom poradí,\n"
    "potom sa poznámky raz zosynchronizujú s kalendárom na serveri, potom sa exportuje do\n"
    "všetkých súborov. Export nikdy nezapíše do priečinka poznámok ani nastavení Tilavy, ani do\n"
    "pomenovanej rúry, zariadenia či priečinka, a nejde cez symbolický odkaz, ktorý mu nepatrí.\n"
    "Návratová hodnota: 0 všetko sa podarilo, 1 niečo sa nepodarilo alebo export súbor odmietol\n"
    "(pozri správu), 2 nesprávny príkazový riadok.\n";

} // namespace

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    // The options are checked before anything else: a mistyped option must neither start the
    // widget nor pass as a second start of a running copy.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    Reporter report;
    if (const Request first = Scan(arguments); !first.error.empty()) {
        report.Wrong(first.error);
        return report.Finish(2);
    } else if (!first.own) {
        return std::nullopt;
    }

    // Qt's list of the arguments holds them as typed, also where the system's code page has no
    // letter for a file name's characters.
    QCoreApplication app(argc, argv);
    const Request request = Scan(QCoreApplication::arguments());
    if (!request.error.empty()) {
        report.Wrong(request.error);
        return report.Finish(2);
    }
    if (request.help) {
        report.Say(StandardStream::Output, kPomoc);
        return report.Finish(0);
    }
    if (request.version) {
        report.Say(StandardStream::Output, "Tilava " TILAVA_VERSION "\n");
        return report.Finish(0);
    }
    for (const QString& subor : request.imports + request.exports) {
        if (subor.isEmpty()) {
            report.Wrong("voľby --import-vcard a --export-ics potrebujú meno súboru, nie "
                         "prázdny text");
            return report.Finish(2);
        }
    }
    if (request.force && request.exports.isEmpty()) {
        report.Wrong("voľba --force platí len spolu s --export-ics");
        return report.Finish(2);
    }

    // A repeated option is done each time, in the order given (all imports first, then every
    // export, as with one of each): a user who names two vCard files means both, and keeping
    // only the last one while reporting success would lose the others without a word.
    const std::filesystem::path folder = NotesFolder();
    auto path = [](const QString& s) { return std::filesystem::path(s.toStdU16String()); };
    const ExistingExport existing =
        request.force ? ExistingExport::Any : ExistingExport::CalendarOnly;
    bool success = true;
    auto ohlas = [&](const ExchangeResult& v) {
        report.Say(v.success ? StandardStream::Output : StandardStream::Error, v.message);
        success = success && v.success;
    };
    for (const QString& subor : request.imports)
        ohlas(ImportContactsFile(folder, path(subor)));
    if (request.sync) {
        const TRegi regi;
        SyncRequest syncRequest;
        syncRequest.allowManyRemovals = request.allowRemovals;
        ExchangeResult synced = SyncCalendar(folder, SyncSettings::Read(regi), syncRequest);
        if (synced.withheldRemovals > 0) {
            synced.success = false;
            synced.message += "Synchronizácia neodstránila z poznámok " +
                              std::to_string(synced.withheldRemovals) +
                              " záznamov, ktoré na serveri chýbajú: toľko naraz len so súhlasom. "
                              "Ak ich naozaj treba odstrániť, spustite „tilava "
                              "--sync-allow-removals“.\n";
        }
        ohlas(synced);
    }
    for (const QString& subor : request.exports)
        ohlas(ExportCalendarFile(folder, path(subor), existing));
    return report.Finish(success ? 0 : 1);
}

} // namespace tilava
