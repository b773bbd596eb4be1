#include "ui/windows/fNapoveda.h"

#include "core/Cp1250.h"
#include "platform/AtomicFile.h"
#include "platform/SystemErrorText.h"
#include "ui/controls/ReadingView.h"
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

TfrmNapoveda::TfrmNapoveda(std::filesystem::path folder, Notifier& notifier, QWidget* parent)
    : QDialog(parent), folder_(std::move(folder)), notifier_(notifier) {
    setObjectName(QStringLiteral("frmNapoveda"));
    // Modal to the windows it belongs to, not to the whole program: the tray icon keeps working.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QStringLiteral("Nápoveda"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    resize(Width, Height);
    setMinimumSize(360, 240);
    move(407, 120);

    // Assistive technology reads the view as one plain text named "Nápoveda", the focus on it.
    WebBrowser1 = new ReadingView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setFrameShape(QFrame::NoFrame);
    WebBrowser1->document()->setDocumentMargin(14);
    // The document's own links are its table of contents: they scroll, nothing is loaded.
    WebBrowser1->setOpenLinks(false);
    WebBrowser1->setAccessibleName(QStringLiteral("Nápoveda"));
    WebBrowser1->setAccessibleDescription(QStringLiteral("Návod na používanie programu Tilava"));
    connect(WebBrowser1, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.hasFragment())
            WebBrowser1->scrollToAnchor(link.fragment());
    });
    auto* rozlozenie = new QVBoxLayout(this);
    rozlozenie->setContentsMargins(0, 0, 0, 0);
    rozlozenie->addWidget(WebBrowser1);
}

TfrmNapoveda::~TfrmNapoveda() = default;

QByteArray TfrmNapoveda::Document() {
    RegisterHelpResource();
    QFile subor(QStringLiteral(":/help/Help.html"));
    if (!subor.open(QIODevice::ReadOnly))
        qFatal("the help document is not compiled in");
    return subor.readAll();
}

std::filesystem::path TfrmNapoveda::WriteDocument(const std::filesystem::path& folder) {
    const std::filesystem::path subor = folder / "Help.html";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw FileError(subor, "Súbor „" + PathText(subor) + "“ sa nedá zapísať: priečinok „" +
                                   PathText(folder) + "“ sa nedá vytvoriť (" +
                                   SystemErrorText(error) + ").");
    const QByteArray dokument = Document();
    std::string lines;
    lines.reserve(static_cast<std::size_t>(dokument.size()) + 512);
    for (const char codePoint : dokument) {
        if (codePoint == '\r')
            continue;
        if (codePoint == '\n')
            lines += '\r';
        lines += codePoint;
    }
    // Every character of the document is in Windows-1250 (the tests check it), so this cannot
    // refuse; if it ever did, nothing would be written. A link at Help.html is replaced by the
    // file itself: the help is the program's own, and whatever the link led to stays untouched.
    ReplaceFileAtomically(subor, EncodeCp1250(lines), FolderFlush::Now,
                          {LinkRule::ReplaceLink, ModeRule::KeepOld});
    return subor;
}

void TfrmNapoveda::FormActivate() {
    try {
        const std::filesystem::path subor = WriteDocument(folder_);
        QFile citanie(QString::fromStdU16String(subor.u16string()));
        if (!citanie.open(QIODevice::ReadOnly))
            throw FileError(subor, "Súbor „" + PathText(subor) + "“ sa nedá prečítať: " +
                                       citanie.errorString().toStdString());
        const QByteArray bytes = citanie.readAll();
        lastError_.clear();
        fromFile_ = true;
        Ukaz(Text(DecodeCp1250(
                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))),
             QUrl::fromLocalFile(citanie.fileName()));
    } catch (const std::exception& e) {
        fromFile_ = false;
        Ukaz(QString::fromUtf8(Document()), QUrl());
        const QString message =
            QStringLiteral("Nápovedu sa nepodarilo uložiť do súboru, zobrazuje sa z pamäte "
                           "programu.\n%1")
                .arg(Text(e.what()));
        // Closing the message makes this window active again; the same failure is told once.
        if (message != lastError_) {
            lastError_ = message;
            notifier_.Message(this, message);
        }
    }
}

void TfrmNapoveda::Ukaz(const QString& html, const QUrl& address) {
    // Coming back to the window keeps the place the user was reading.
    if (html == shown_ && WebBrowser1->document()->baseUrl() == address)
        return;
    shown_ = html;
    WebBrowser1->document()->setBaseUrl(address);
    WebBrowser1->setHtml(html);
}

bool TfrmNapoveda::event(QEvent* event) {
    // Shown, the window fills itself at once: not every desktop activates a new window (Wine
    // without a window manager does not). Coming back to it writes the file anew; the
    // activation that follows the showing has nothing new to write.
    if (event->type() == QEvent::Show) {
        FormActivate();
        filledOnShow_ = true;
    } else if (event->type() == QEvent::WindowActivate) {
        if (!filledOnShow_)
            FormActivate();
        filledOnShow_ = false;
    }
    return QDialog::event(event);
}

} // namespace tilava
