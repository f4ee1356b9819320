#include "frame/error_handler.h"

#include "data/errors.h"
#include "data/helpers.h"

namespace {

QString translatedMessage(DatabaseError::Condition condition)
{
    using C = DatabaseError::Condition;
    switch (condition) {
    case C::ReferencedRow:
        return QStringLiteral("其它的数据库表中存在对该纪录的引用,纪录不能删除");
    case C::CannotOpen:
        return QStringLiteral("数据库打开过程发生错误");
    case C::DuplicateKey:
        return QStringLiteral("数据库主键重复");
    case C::RowChanged:
        return QStringLiteral("数据已被其它用户修改,请重新查找刷新该记录,查看其它用户修改后的数据");
    case C::ValueTooLong:
        return QStringLiteral("数据太大,不能保存数据");
    case C::TableInUse:
        return QStringLiteral("有未关闭的数据表");
    case C::Other:
        break;
    }
    return {};
}

void showDatabaseError(const DatabaseError& error)
{
    const QString translated = translatedMessage(error.condition());
    if (!translated.isEmpty()) {
        ShowMsg(translated);
        return;
    }
    ShowMsg(QStringLiteral("数据库操作错误"));
    ShowErrorMsg(QString::fromLatin1(error.className()) + QStringLiteral(":ErrorCode: (") +
                 error.engineCode() + QStringLiteral(")\t") + error.message() + QLatin1Char('\r'));
}

void showConvertError(const ConvertError& error)
{
    switch (error.kind()) {
    case ConvertError::Kind::InvalidDate:
        ShowMsg(InvalidDateMessage());
        return;
    case ConvertError::Kind::FormatMismatch:
        ShowMsg(QStringLiteral("指定的格式与参数类型不匹配!"));
        return;
    case ConvertError::Kind::Other:
        break;
    }
    ShowMsg(error.message());
}

} // namespace

void HandleAppException(QObject* sender, std::exception_ptr error)
{
    Q_UNUSED(sender);
    try {
        try {
            std::rethrow_exception(error);
        } catch (const SilentAbort&) {
        } catch (const DatabaseError& e) {
            showDatabaseError(e);
        } catch (const ConvertError& e) {
            showConvertError(e);
        } catch (const KWError& e) {
            ShowErrorMsg(QString::fromLatin1(e.className()) + QLatin1Char(':') + e.message());
        } catch (const std::exception& e) {
            ShowErrorMsg(QStringLiteral("Exception:") + QString::fromLocal8Bit(e.what()));
        } catch (...) {
            ShowErrorMsg(QStringLiteral("Exception:未知错误"));
        }
    } catch (...) {
        // A failing message box must not take the program down with it.
    }
}
