#include "controls/grid.h"

#include "data/helpers.h"
#include "data/record_model.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

namespace {

int characters(int pixels)
{
    return int(std::lround(pixels * 0.16));
}

int decimalsOf(const QString& text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(text.size() - point - 1);
}

bool carriesTotal(const QString& footerKind)
{
    return footerKind == QLatin1String("@Sum") || footerKind == QLatin1String("@Count");
}

// Lets the window colour a cell before it is drawn.
class CellDelegate : public QStyledItemDelegate
{
public:
    CellDelegate(TKWNDBGrid* grid, TKWQueryModel* model)
        : QStyledItemDelegate(grid), m_grid(grid), m_model(model)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        TKWQuery* query = m_model->query();
        const int field = m_model->fieldOfColumn(index.column());
        if (!m_grid->OnApplyCellAttr || field < 0 || index.row() >= query->RecordCount())
            return;
        QColor background = option->backgroundBrush.color();
        if (option->backgroundBrush.style() == Qt::NoBrush)
            background = option->palette.color(QPalette::Base);
        QColor text = option->palette.color(QPalette::Text);
        m_grid->OnApplyCellAttr(index.row(), query->Fields()[field].name, background, text);
        option->backgroundBrush = background;
        option->palette.setColor(QPalette::Text, text);
    }

private:
    TKWNDBGrid* m_grid;
    TKWQueryModel* m_model;
};

} // namespace

namespace {

// Plain decimals (at most 15 + 8 digits) add up exactly as scaled integers.
std::optional<QString> integerSum(const QStringList& values)
{
    int decimals = 0;
    for (const QString& value : values) {
        const QString v = value.trimmed();
        if (v.isEmpty())
            continue;
        const qsizetype start = v.startsWith(QLatin1Char('-')) ? 1 : 0;
        const qsizetype point = v.indexOf(QLatin1Char('.'));
        const qsizetype integerDigits = (point < 0 ? v.size() : point) - start;
        const int fraction = point < 0 ? 0 : int(v.size() - point - 1);
        if (integerDigits < 1 || integerDigits > 15 || fraction > 8 || (point >= 0 && !fraction))
            return std::nullopt;
        for (qsizetype i = start; i < v.size(); ++i)
            if (i != point && !v[i].isDigit())
                return std::nullopt;
        decimals = qMax(decimals, fraction);
    }
    __int128 sum = 0;
    for (const QString& value : values) {
        const QString v = value.trimmed();
        if (v.isEmpty())
            continue;
        const bool negative = v.startsWith(QLatin1Char('-'));
        const qsizetype point = v.indexOf(QLatin1Char('.'));
        __int128 n = 0;
        int fraction = 0;
        for (qsizetype i = negative ? 1 : 0; i < v.size(); ++i) {
            if (i == point)
                continue;
            n = n * 10 + v[i].digitValue();
            if (point >= 0 && i > point)
                ++fraction;
        }
        for (; fraction < decimals; ++fraction)
            n *= 10;
        sum += negative ? -n : n;
    }
    const bool negative = sum < 0;
    if (negative)
        sum = -sum;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(sum % 10)));
        sum /= 10;
    } while (sum > 0);
    if (digits.size() <= decimals)
        digits.prepend(QString(decimals - digits.size() + 1, QLatin1Char('0')));
    if (decimals > 0)
        digits.insert(digits.size() - decimals, QLatin1Char('.'));
    return negative ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString ExactSum(const QStringList& values)
{
    if (const std::optional<QString> exact = integerSum(values))
        return TKWQueryModel::NumberText(*exact);
    double sum = 0;
    int decimals = 0;
    QString sumText = QStringLiteral("0");
    for (const QString& value : values) {
        if (value.trimmed().isEmpty())
            continue;
        decimals = qMin(8, qMax(decimals, qMax(decimalsOf(value), decimalsOf(sumText))));
        sum = ParseNumber(RoundText(decimals, QString(), sum + ParseNumber(value)));
        sumText = RoundText(decimals, QString(), sum);
    }
    return TKWQueryModel::NumberText(sumText);
}

// The footer row under the columns.
class TKWNDBGrid::Footer : public QWidget
{
public:
    explicit Footer(TKWNDBGrid* grid) : QWidget(grid), m_grid(grid)
    {
        setFixedHeight(fontMetrics().height() + 8);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Button));
        const QHeaderView* header = m_grid->view()->horizontalHeader();
        const int offset = m_grid->view()->verticalHeader()->width() + m_grid->view()->frameWidth();
        for (int column = 0; column < header->count(); ++column) {
            if (header->isSectionHidden(column) || header->sectionSize(column) == 0)
                continue;
            const QRect cell(offset + header->sectionViewportPosition(column), 0,
                             header->sectionSize(column), height());
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.setPen(palette().color(QPalette::ButtonText));
            painter.drawText(cell.adjusted(4, 0, -4, 0),
                             Qt::AlignVCenter | m_grid->footerAlignment(column),
                             m_grid->GetFooterText(column));
        }
    }

private:
    TKWNDBGrid* m_grid;
};

TKWNDBGrid::TKWNDBGrid(TKWQuery* query, QWidget* parent)
    : QWidget(parent), m_query(query), m_model(new TKWQueryModel(query, this)),
      m_view(new QTableView(this)), m_footer(new Footer(this))
{
    setObjectName(QStringLiteral("DBGrid1"));
    m_view->setModel(m_model);
    m_view->setItemDelegate(new CellDelegate(this, m_model));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->horizontalHeader()->setSectionsMovable(true);
    // A column dragged narrower than two characters is hidden the next time.
    m_view->horizontalHeader()->setMinimumSectionSize(0);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->installEventFilter(this);
    setFocusProxy(m_view);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_footer);
    query->DBNGride = this;
    auto follow = [this](auto&& action) {
        return [this, action] {
            if (m_query->DBNGride == this)
                action();
        };
    };
    connect(query, &TKWQuery::aboutToOpen, this, follow([this] { ApplyStoredLayout(*m_query); }));
    connect(query, &TKWQuery::columnsChanged, this, follow([this] { LayoutChanged(); }));
    connect(query, &TKWQuery::editingStarted, this, follow([this] { SetGridEnabled(false); }));
    connect(query, &TKWQuery::editingEnded, this, follow([this] { SetGridEnabled(true); }));
    connect(query, &TKWQuery::totalsChanged, this, follow([this] { RecalcFooters(); }));

    QHeaderView* header = m_view->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, [this] {
        recordWidths();
        m_footer->update();
    });
    connect(header, &QHeaderView::sectionMoved, this, [this] {
        recordOrder();
        m_footer->update();
    });
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer,
            qOverload<>(&QWidget::update));
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() < m_query->RecordCount())
                    m_query->SetRecNo(current.row());
            });
    connect(query, &TKWQuery::currentChanged, this, [this](int row) {
        if (row >= 0 && m_view->currentIndex().row() != row)
            m_view->selectRow(row);
    });
    // Ctrl+click or Ctrl+Space would take the highlight off the current record.
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int row = m_query->RecNo();
        if (row >= 0 && row < m_query->RecordCount() && !m_view->selectionModel()->hasSelection())
            m_view->selectRow(row);
    });
    // Totals are summed once per change of the rows, not on every paint.
    auto rowsChanged = [this] {
        m_sums.clear();
        m_footer->update();
    };
    connect(query, &TKWQuery::rowsReset, this, rowsChanged);
    connect(query, &TKWQuery::rowChanged, this, rowsChanged);
    connect(query, &TKWQuery::fieldChanged, this, [this] { m_sums.clear(); });
    // After the rows are read again the list shows where the cursor is.
    connect(query, &TKWQuery::rowsReset, this, [this] {
        if (m_query->RecNo() >= 0)
            m_view->selectRow(m_query->RecNo());
    });
}

void TKWNDBGrid::SetFieldsData(const TFieldsDataArray& fields)
{
    m_query->SetFieldsData(fields);
}

void TKWNDBGrid::SetFooterVisible(bool visible)
{
    m_footer->setVisible(visible);
}

void TKWNDBGrid::SetFullRows(bool on)
{
    m_fullRows = on;
    m_model->setMinimumRows(on ? 100 : 0);
}

void TKWNDBGrid::SetGridEnabled(bool enabled)
{
    m_view->setEnabled(enabled);
}

QString TKWNDBGrid::condition() const
{
    return QStringLiteral("USE_ID = %1 AND FORM_NAME = %2 AND DBGRID_NAME = %3")
        .arg(QuotedStr(UserID), QuotedStr(FormName), QuotedStr(objectName()));
}

void TKWNDBGrid::LoadSettings()
{
    if (FormName.isEmpty() || (m_loaded && !m_stored.isEmpty()))
        return;
    m_stored.clear();
    m_loaded = true;
    auto rows = OpenSQL(DataBaseName,
                        QStringLiteral("SELECT FIELD_WIDTH,FIELD_NAME%1 FROM %2 WHERE %3 ORDER BY "
                                       "FIELD_NAME")
                            .arg(SaveOrder ? QStringLiteral(",FIELD_ORDER") : QString(),
                                 SetTableName, condition()));
    while (rows->next()) {
        const QString name = rows->value(1).toString();
        if (name.isEmpty())
            continue;
        Stored s;
        s.name = s.loadedName = name;
        s.width = s.loadedWidth = int(ParseNumber(rows->value(0).toString()));
        if (SaveOrder)
            s.order = s.loadedOrder = int(ParseNumber(rows->value(2).toString()));
        m_stored << s;
    }
}

void TKWNDBGrid::ApplyStoredLayout(TKWQuery& query)
{
    SetColWidthChange = false;
    LoadSettings();
    // Nothing stored: the columns come in the order of their definitions.
    if (m_stored.isEmpty() || query.FieldsData().isEmpty()) {
        query.ApplyStoredLayout({});
        return;
    }
    if (SaveOrder)
        std::stable_sort(m_stored.begin(), m_stored.end(),
                         [](const Stored& a, const Stored& b) { return a.order < b.order; });
    QList<TStoredColumn> layout;
    for (int i = 0; i < m_stored.size(); ++i) {
        const Stored& s = m_stored[i];
        layout << TStoredColumn{s.name, s.width, SaveOrder ? s.order : i};
        // A column narrowed out of sight is hidden for good, unless it carries a total.
        if (characters(s.width) < 2)
            for (const TFieldsData& d : query.FieldsData())
                if (d.FieldName.compare(s.name, Qt::CaseInsensitive) == 0 &&
                    !carriesTotal(d.FooterKind) && d.DisplayWidth != -1)
                    DeleteFieldSetting(s.name);
    }
    query.ApplyStoredLayout(layout);
}

TKWNDBGrid::Stored* TKWNDBGrid::storedEntry(const QString& name)
{
    for (Stored& s : m_stored)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

int TKWNDBGrid::pixelsFor(int chars) const
{
    return chars * m_view->fontMetrics().horizontalAdvance(QLatin1Char('0')) + 8;
}

void TKWNDBGrid::LayoutChanged()
{
    SkipLayout = false;
    ApplyLayout();
}

void TKWNDBGrid::ApplyLayout()
{
    if (SkipLayout) {
        SkipLayout = false;
        return;
    }
    SetColWidthChange = false;
    QHeaderView* header = m_view->horizontalHeader();
    if (m_model->columnCount() > 1) {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            const TKWField& f = m_query->Fields()[m_model->fieldOfColumn(column)];
            header->setSectionHidden(column, false);
            header->resizeSection(column, f.displayWidth > 0 ? pixelsFor(f.displayWidth) : 0);
            if (f.displayWidth == 0)
                header->setSectionHidden(column, true);
            if (Stored* s = storedEntry(f.name)) {
                if (s->width > 10)
                    header->resizeSection(column, s->width);
                else
                    header->setSectionHidden(column, true);
            }
        }
        // A column that carries a total stays, so its total is still shown.
        for (const TFieldsData& d : m_query->FieldsData()) {
            const int column = m_model->columnOfField(d.FieldName);
            if (column >= 0 && carriesTotal(d.FooterKind) && header->isSectionHidden(column)) {
                header->setSectionHidden(column, false);
                header->resizeSection(
                    column,
                    pixelsFor(m_query->Fields()[m_model->fieldOfColumn(column)].displayWidth));
            }
        }
    }
    SkipLayout = true;
    SetColWidthChange = true;
    m_footer->update();
}

void TKWNDBGrid::recordWidths()
{
    if (!SetColWidthChange || !m_query->Active() || !m_loaded || FormName.isEmpty())
        return;
    QHeaderView* header = m_view->horizontalHeader();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QString name = m_query->Fields()[m_model->fieldOfColumn(column)].name;
        const int width = header->isSectionHidden(column) ? 0 : header->sectionSize(column);
        if (Stored* s = storedEntry(name)) {
            const int oldChars = characters(s->width);
            const int newChars = characters(width);
            if (qAbs(oldChars - newChars) > 1 || newChars <= 10)
                s->width = width;
        } else {
            m_stored << Stored{name, width, header->visualIndex(column), QStringLiteral("1"), 1, 1};
        }
    }
}

void TKWNDBGrid::recordOrder()
{
    if (!SaveOrder || !m_loaded || FormName.isEmpty())
        return;
    QHeaderView* header = m_view->horizontalHeader();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QString name = m_query->Fields()[m_model->fieldOfColumn(column)].name;
        if (Stored* s = storedEntry(name))
            s->order = header->visualIndex(column);
        else
            m_stored << Stored{name,
                               header->sectionSize(column),
                               header->visualIndex(column),
                               QStringLiteral("1"),
                               1,
                               1};
    }
}

void TKWNDBGrid::SaveSettings()
{
    if (FormName.isEmpty() || SettingsReset || !m_loaded)
        return;
    if (m_stored.size() > 1) {
        int loadedNames = 0;
        for (const Stored& s : m_stored)
            loadedNames += s.loadedName != QLatin1String("1");
        for (const Stored& s : m_stored) {
            if (s.name.isEmpty())
                continue;
            if (loadedNames > 1 && s.loadedName != QLatin1String("1")) {
                const int oldChars = characters(s.loadedWidth);
                const int newChars = characters(s.width);
                if (qAbs(oldChars - newChars) <= 1 && newChars > 10 &&
                    (!SaveOrder || s.order == s.loadedOrder))
                    continue;
            }
            const QString where =
                condition() + QStringLiteral(" AND FIELD_NAME = ") + QuotedStr(s.name);
            auto row = OpenSQL(DataBaseName,
                               QStringLiteral("SELECT FIELD_WIDTH%1 FROM %2 WHERE  %3")
                                   .arg(SaveOrder ? QStringLiteral(",FIELD_ORDER") : QString(),
                                        SetTableName, where));
            const bool found = row->next();
            const bool same = found && row->value(0).toInt() == s.width &&
                              (!SaveOrder || row->value(1).toInt() == s.order);
            row.reset();
            if (same)
                continue;
            if (!found)
                RunSQL(DataBaseName,
                       SaveOrder ? QStringLiteral("INSERT INTO %1(USE_ID,FORM_NAME,DBGRID_NAME,"
                                                  "FIELD_NAME,FIELD_WIDTH,FIELD_ORDER) VALUES"
                                                  "(%2,%3,%4,%5,%6,%7)")
                                       .arg(SetTableName, QuotedStr(UserID), QuotedStr(FormName),
                                            QuotedStr(objectName()), QuotedStr(s.name))
                                       .arg(s.width)
                                       .arg(s.order)
                                 : QStringLiteral("INSERT INTO %1(USE_ID,FORM_NAME,DBGRID_NAME,"
                                                  "FIELD_NAME,FIELD_WIDTH) VALUES(%2,%3,%4,%5,%6)")
                                       .arg(SetTableName, QuotedStr(UserID), QuotedStr(FormName),
                                            QuotedStr(objectName()), QuotedStr(s.name))
                                       .arg(s.width));
            else
                RunSQL(DataBaseName,
                       QStringLiteral("UPDATE %1 SET FIELD_WIDTH = %2%3 WHERE  %4")
                           .arg(SetTableName)
                           .arg(s.width)
                           .arg(SaveOrder ? QStringLiteral(",FIELD_ORDER = %1").arg(s.order)
                                          : QString(),
                                where));
        }
    }
    m_stored.clear();
    m_loaded = false;
}

void TKWNDBGrid::DeleteFieldSetting(const QString& fieldName)
{
    if (!RunSQL(DataBaseName, QStringLiteral("DELETE FROM %1 WHERE  %2 AND FIELD_NAME = %3")
                                  .arg(SetTableName, condition(), QuotedStr(fieldName))))
        ShowMsg(QStringLiteral("隐藏字段删除过程发生错误"));
}

void TKWNDBGrid::ResetSettings()
{
    if (FormName.isEmpty() || !AskYesNo(QStringLiteral("是否恢复默认显示设置")))
        return;
    if (RunSQL(DataBaseName,
               QStringLiteral("DELETE FROM %1 WHERE  %2").arg(SetTableName, condition()))) {
        ShowMsg(QStringLiteral("请关闭窗口后再重新打开"));
        SettingsReset = true;
    } else {
        ShowMsg(QStringLiteral("恢复默认显示设置过程发生错误"));
    }
}

void TKWNDBGrid::ResetAllSettings()
{
    if (FormName.isEmpty())
        return;
    if (RunSQL(DataBaseName,
               QStringLiteral("DELETE FROM %1 WHERE FORM_NAME = %2 AND DBGRID_NAME = %3")
                   .arg(SetTableName, QuotedStr(FormName), QuotedStr(objectName())))) {
        SettingsReset = true;
        SkipLayout = false;
    } else {
        ShowMsg(QStringLiteral("恢复默认显示设置过程发生错误"));
    }
    m_stored.clear();
    m_loaded = false;
}

QString TKWNDBGrid::footerFor(const TFieldsData& d) const
{
    if (d.FooterKind == QLatin1String("@Count"))
        return QString::number(m_query->RecordCount());
    if (d.FooterKind == QLatin1String("@Sum")) {
        const QString key = d.FieldName.toUpper();
        auto known = m_sums.constFind(key);
        if (known != m_sums.constEnd())
            return *known;
        const int field = m_query->FieldIndex(d.FieldName);
        QStringList values;
        values.reserve(m_query->RecordCount());
        for (int row = 0; row < m_query->RecordCount(); ++row)
            values << m_query->CellText(row, field);
        return m_sums[key] = ExactSum(values);
    }
    return d.FooterKind;
}

Qt::Alignment TKWNDBGrid::footerAlignment(int column) const
{
    const int field = m_model->fieldOfColumn(column);
    if (field < 0)
        return Qt::AlignLeft;
    for (const TFieldsData& d : m_query->FieldsData())
        if (d.FieldName.compare(m_query->Fields()[field].name, Qt::CaseInsensitive) == 0)
            return carriesTotal(d.FooterKind) || d.DataType == QLatin1String("N") ? Qt::AlignRight
                                                                                  : Qt::AlignLeft;
    return Qt::AlignLeft;
}

QString TKWNDBGrid::GetFooterText(int column) const
{
    const int field = m_model->fieldOfColumn(column);
    if (field < 0 || !m_query->Active())
        return {};
    for (const TFieldsData& d : m_query->FieldsData())
        if (d.FieldName.compare(m_query->Fields()[field].name, Qt::CaseInsensitive) == 0)
            return footerFor(d);
    return {};
}

void TKWNDBGrid::RecalcFooters()
{
    m_footer->update();
}

bool TKWNDBGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && FocusColorChange && ColorOnFocus.isValid()) {
        if (event->type() == QEvent::FocusIn) {
            m_restPalette = m_view->palette();
            QPalette focused = m_restPalette;
            focused.setColor(QPalette::Base, ColorOnFocus);
            m_view->setPalette(focused);
        } else if (event->type() == QEvent::FocusOut) {
            m_view->setPalette(m_restPalette);
        }
    }
    return QWidget::eventFilter(watched, event);
}
