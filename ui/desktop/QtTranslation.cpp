#include "ui/desktop/QtTranslation.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace tilava {

namespace {

// Qt 6 asks for the standard buttons' texts ("Cancel", "Save", "&Yes" …) under the name
// "QPlatformTheme"; Qt's Slovak catalogue still has them under "QDialogButtonBox", the name of
// Qt 5, with the same English texts.
class SlovakQtTranslator final : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && QByteArrayView(context) == "QPlatformTheme")
            text = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
        return text;
    }
};

} // namespace

bool LoadQtTranslation() {
    auto* translator = new SlovakQtTranslator(QCoreApplication::instance());
    const QString name = QStringLiteral("qtbase_sk");
    if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->load(name, QStringLiteral(":/qt-translations")))
        return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
}

} // namespace tilava
