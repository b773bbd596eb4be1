#include "ui/windows/fNapoveda.h"

#include "core/Cp1250.h"
#include "platform/AtomicFile.h"
#include "platform/SystemErrorText.h"
#include "ui/desktop/Notifier.h"

#include <QEvent>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>
#include <system_error>
#include <utility>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterHelpResource() {
    Q_INIT_RESOURCE(help);
}

namespace tilava {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

TfrmNapoveda::TfrmNapoveda(std::filesystem::path priecinok, Notifier& oznamy, QWidget* parent)
    : QDialog(parent), priecinok_(std::move(priecinok)), oznamy_(oznamy) {
    setObjectName(QStringLiteral("frmNapoveda"));
    setWindowTitle(QStringLiteral("Nápoveda"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    resize(Sirka, Vyska);
    setMinimumSize(360, 240);
    move(407, 120);

    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setFrameShape(QFrame::NoFrame);
    WebBrowser1->document()->setDocumentMargin(14);
    // The document's own links are its table of contents: they scroll, nothing is loaded.
    WebBrowser1->setOpenLinks(false);
    WebBrowser1->setAccessibleName(QStringLiteral("Nápoveda"));
    WebBrowser1->setAccessibleDescription(QStringLiteral("Návod na používanie programu Tilava"));
    connect(WebBrowser1, &QTextBrowser::anchorClicked, this, [this](const QUrl& odkaz) {
        if (odkaz.hasFragment())
            WebBrowser1->scrollToAnchor(odkaz.fragment());
    });
    auto* rozlozenie = new QVBoxLayout(this);
    rozlozenie->setContentsMargins(0, 0, 0, 0);
    rozlozenie->addWidget(WebBrowser1);
}

TfrmNapoveda::~TfrmNapoveda() = default;

QByteArray TfrmNapoveda::Dokument() {
    RegisterHelpResource();
    QFile subor(QStringLiteral(":/help/Help.html"));
    if (!subor.open(QIODevice::ReadOnly))
        qFatal("the help document is not compiled in");
    return subor.readAll();
}

std::filesystem::path TfrmNapoveda::ZapisDokument(const std::filesystem::path& priecinok) {
    const std::filesystem::path subor = priecinok / "Help.html";
    std::error_code chyba;
    std::filesystem::create_directories(priecinok, chyba);
    if (chyba)
        throw FileError(subor, "Súbor „" + PathText(subor) + "“ sa nedá zapísať: priečinok „" +
                                   PathText(priecinok) + "“ sa nedá vytvoriť (" +
                                   SystemErrorText(chyba) + ").");
    const QByteArray dokument = Dokument();
    std::string riadky;
    riadky.reserve(static_cast<std::size_t>(dokument.size()) + 512);
    for (const char znak : dokument) {
        if (znak == '\r')
            continue;
        if (znak == '\n')
            riadky += '\r';
        riadky += znak;
    }
    // Every character of the document is in Windows-1250 (the tests check it), so this cannot
    // refuse; if it ever did, nothing would be written. A link at Help.html is replaced by the
    // file itself: the help is the program's own, and whatever the link led to stays untouched.
    ReplaceFileAtomically(subor, EncodeCp1250(riadky), FolderFlush::Now,
                          {LinkRule::ReplaceLink, ModeRule::KeepOld});
    return subor;
}

void TfrmNapoveda::FormActivate() {
    try {
        const std::filesystem::path subor = ZapisDokument(priecinok_);
        QFile citanie(QString::fromStdU16String(subor.u16string()));
        if (!citanie.open(QIODevice::ReadOnly))
            throw FileError(subor, "Súbor „" + PathText(subor) + "“ sa nedá prečítať: " +
                                       citanie.errorString().toStdString());
        const QByteArray bajty = citanie.readAll();
        poslednaChyba_.clear();
        zoSuboru_ = true;
        Ukaz(Text(DecodeCp1250(
                 std::string_view(bajty.constData(), static_cast<std::size_t>(bajty.size())))),
             QUrl::fromLocalFile(citanie.fileName()));
    } catch (const std::exception& e) {
        zoSuboru_ = false;
        Ukaz(QString::fromUtf8(Dokument()), QUrl());
        const QString sprava =
            QStringLiteral("Nápovedu sa nepodarilo uložiť do súboru, zobrazuje sa z pamäte "
                           "programu.\n%1")
                .arg(Text(e.what()));
        // Closing the message makes this window active again; the same failure is told once.
        if (sprava != poslednaChyba_) {
            poslednaChyba_ = sprava;
            oznamy_.Message(this, sprava);
        }
    }
}

void TfrmNapoveda::Ukaz(const QString& html, const QUrl& adresa) {
    // Coming back to the window keeps the place the user was reading.
    if (html == zobrazene_ && WebBrowser1->document()->baseUrl() == adresa)
        return;
    zobrazene_ = html;
    WebBrowser1->document()->setBaseUrl(adresa);
    WebBrowser1->setHtml(html);
}

bool TfrmNapoveda::event(QEvent* udalost) {
    // Shown, the window fills itself at once: not every desktop activates a new window (Wine
    // without a window manager does not). Coming back to it writes the file anew; the
    // activation that follows the showing has nothing new to write.
    if (udalost->type() == QEvent::Show) {
        FormActivate();
        filledOnShow_ = true;
    } else if (udalost->type() == QEvent::WindowActivate) {
        if (!filledOnShow_)
            FormActivate();
        filledOnShow_ = false;
    }
    return QDialog::event(udalost);
}

} // namespace tilava
