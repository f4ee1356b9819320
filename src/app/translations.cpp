#include "app/translations.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's Chinese catalogue lacks the type names of the file dialogs' lists.
class FileTypeNames : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        static const QHash<QByteArray, QString> names{{"Drive", QStringLiteral("驱动器")},
                                                      {"Folder", QStringLiteral("文件夹")},
                                                      {"Shortcut", QStringLiteral("快捷方式")},
                                                      {"Unknown", QStringLiteral("未知")}};
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        return names.value(sourceText);
    }
};

} // namespace

bool InstallQtTranslations()
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    QCoreApplication* app = QCoreApplication::instance();
    QCoreApplication::installTranslator(new FileTypeNames(app));
    // "qt" gathers the catalogues of qtbase and the other modules.
    auto* translator = new QTranslator(app);
    if (!translator->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}
