#include "data/schema.h"

namespace {

ColumnDef text(const char* name, int width = 20)
{
    return {QString::fromLatin1(name), ColumnType::Text, width};
}
ColumnDef number(const char* name)
{
    return {QString::fromLatin1(name), ColumnType::Number, 0};
}
ColumnDef integer(const char* name)
{
    return {QString::fromLatin1(name), ColumnType::Integer, 0};
}
ColumnDef date(const char* name)
{
    return {QString::fromLatin1(name), ColumnType::Date, 0};
}
ColumnDef blob(const char* name)
{
    return {QString::fromLatin1(name), ColumnType::Blob, 0};
}

QList<ColumnDef> editCreateAudit()
{
    return {text("EDIT_NAME"), date("EDIT_DATE"), text("CREATE_NAME"), date("CREATE_DATE")};
}

QList<ColumnDef> createEditAudit()
{
    return {text("CREATE_NAME"), date("CREATE_DATE"), text("EDIT_NAME"), date("EDIT_DATE")};
}

TableDef table(const char* name, QList<ColumnDef> columns, QStringList key)
{
    return {QString::fromLatin1(name), std::move(columns), std::move(key)};
}

QList<ColumnDef> clientColumns()
{
    QList<ColumnDef> c{
        text("CLIENT_RECORD_ID", 16), text("CLIENT_ORDER_ID", 30), date("CLIENT_ORDER_DATE"),
        text("CLIENT_NAME", 50),      text("CLIENT_PHONE", 30),    text("CLIENT_HANDSET_PHONE", 30),
        text("CLIENT_ADD", 180),      text("CLIENT_POSTCODE", 10), text("FAST_NAME", 20),
        text("FAST_ID", 30),          number("FAST_MONEY"),        text("CLIENT_EMPLOYEE_NAME", 20),
        date("DATE_FIELD1"),          date("DATE_FIELD2"),         date("DATE_FIELD3")};
    for (int i = 1; i <= 8; ++i)
        c << ColumnDef{QStringLiteral("TEXT_FIELD%1").arg(i), ColumnType::Text, 50};
    c << text("TEXT_FIELD9", 160) << text("TEXT_NOTE", 160) << number("NUMBER_FIELD1")
      << number("NUMBER_FIELD2") << number("NUMBER_FIELD3") << number("CLIENT_POSTCODE_WIDTH")
      << text("STATUS", 10) << text("VERIFY_NAME") << date("VERIFY_DATE") << editCreateAudit();
    return c;
}

QList<TableDef> pickListTables()
{
    QList<TableDef> tables;
    for (int i = 1; i <= 9; ++i) {
        const QString column = QStringLiteral("TEXT_FIELD%1").arg(i);
        tables << TableDef{QStringLiteral("KW_CLIENT_%1_TABLE").arg(column),
                           QList<ColumnDef>{{column, ColumnType::Text, i == 9 ? 160 : 50}} +
                               editCreateAudit(),
                           {column}};
    }
    tables << table("KW_CLIENT_EMPLOYEE_NAME_TABLE",
                    QList<ColumnDef>{text("CLIENT_EMPLOYEE_NAME", 20)} + editCreateAudit(),
                    {QStringLiteral("CLIENT_EMPLOYEE_NAME")});
    return tables;
}

QList<ColumnDef> gridLayoutColumns()
{
    return {text("USE_ID", 6),      text("FORM_NAME", 40),  text("DBGRID_NAME", 40),
            text("FIELD_NAME", 40), integer("FIELD_WIDTH"), integer("FIELD_ORDER")};
}

QStringList gridLayoutKey()
{
    return {QStringLiteral("USE_ID"), QStringLiteral("FORM_NAME"), QStringLiteral("DBGRID_NAME"),
            QStringLiteral("FIELD_NAME")};
}

QList<TableDef> buildTables()
{
    QList<ColumnDef> archiveShow;
    for (int i = 1; i <= 12; ++i)
        archiveShow << ColumnDef{QStringLiteral("TEXT_FIELD%1").arg(i), ColumnType::Text,
                                 i <= 10 ? 50 : 160};
    archiveShow << text("TEXT_NOTE", 255);

    const QStringList rights{QStringLiteral("ADD_RIGHT"),     QStringLiteral("EDIT_RIGHT"),
                             QStringLiteral("DElETE_RIGHT"),  QStringLiteral("BROWSE_RIGHT"),
                             QStringLiteral("PRINT_RIGHT"),   QStringLiteral("VERIFY_RIGHT"),
                             QStringLiteral("CURRENCY_RIGHT")};
    QList<ColumnDef> rightColumns{text("USE_ID", 6), number("COMPOSE_ID"), number("PROGRAM_ID")};
    for (const QString& right : rights)
        rightColumns << ColumnDef{right, ColumnType::Text, 2};

    QList<TableDef> t{
        table("KW_CLIENT_TABLE", clientColumns(), {QStringLiteral("CLIENT_RECORD_ID")}),
        table("KW_CLIENT_MASTER_PICTURE_TABLE",
              QList<ColumnDef>{text("CLIENT_RECORD_ID", 16), text("PICTURE_RECORD_ID", 16),
                               text("PICTURE_TITLE_NAME", 255), integer("PICTURE_ORDER"),
                               text("NOTE", 255)} +
                  editCreateAudit(),
              {QStringLiteral("PICTURE_RECORD_ID")}),
        table("KW_CLIENT_MASTER_FILE_TABLE",
              QList<ColumnDef>{text("CLIENT_RECORD_ID", 16), text("FILE_RECORD_ID", 16),
                               text("FILE_TITLE_NAME", 255), integer("FILE_ORDER"),
                               text("NOTE", 255)} +
                  editCreateAudit(),
              {QStringLiteral("FILE_RECORD_ID")}),
        table("KW_FAST_NAME_TABLE",
              QList<ColumnDef>{
                  text("FAST_ID", 16), text("FAST_NAME", 20), number("FAST_STANDARD_MONEY"),
                  text("FAST_DEFAULT", 10), text("NOTE", 120), number("FAST_NAME_WIDTH"),
                  number("FAST_NAME_HEIGHT"), number("FAST_TOP"), number("FAST_BOTTOM"),
                  number("FAST_LEFT"), text("PICTURE_EXTNAME", 10)} +
                  editCreateAudit(),
              {QStringLiteral("FAST_ID")}),
        table("KW_FAST_NAME_PRINT_TABLE",
              {text("FIELD_RECORD_ID", 16), text("FAST_ID", 16), text("FIELD_NAME", 40),
               text("FIELD_DISPLAY_NAME", 40), text("FIELD_FONT_NAME", 10),
               integer("FIELD_FONT_SIZE"), number("FIELD_NAME_LEFT"), number("FIELD_NAME_TOP"),
               number("FIELD_FONT_NUMBER"), text("FIELD_TABLE_NAME", 30)},
              {QStringLiteral("FIELD_RECORD_ID")}),
        table("KW_INTO_CLIENT_FIELD_TABLE",
              {text("TABLE_FIELD_NAME", 30), text("EXCEL_FIELD_NAME", 30), number("FIELD_ORDER")},
              {QStringLiteral("TABLE_FIELD_NAME")}),
        table("KW_INTO_ARCHIVE_SHOW_TABLE", archiveShow, {}),
    };
    t << pickListTables();
    t << table("SYS_USER_TABLE",
               QList<ColumnDef>{text("USE_ID", 6), text("USE_NAME", 20), text("USE_PASSWORD", 10),
                                text("SYS_USER", 2), text("STOP_RIGHT", 4), text("NOTE", 30)} +
                   createEditAudit(),
               {QStringLiteral("USE_ID")})
      << table("SYS_COMPOSE_TABLE", {number("COMPOSE_ID"), text("COMPOSE_NAME")},
               {QStringLiteral("COMPOSE_ID")})
      << table("SYS_PROGRAM_TABLE",
               {number("COMPOSE_ID"), number("PROGRAM_ID"), text("PROGRAM_NAME"),
                text("ADD_RIGHT", 2), text("BROWSE_RIGHT", 2), text("PRINT_RIGHT", 2),
                text("VERIFY_RIGHT", 2)},
               {QStringLiteral("COMPOSE_ID"), QStringLiteral("PROGRAM_ID")})
      << table(
             "SYS_RIGHT_TABLE", rightColumns,
             {QStringLiteral("USE_ID"), QStringLiteral("COMPOSE_ID"), QStringLiteral("PROGRAM_ID")})
      << table("SYS_COMPANY_TABLE",
               QList<ColumnDef>{text("COMPANY_ID", 6), text("COMPANY_NAME", 40),
                                text("COMPANY_EMPLOYEE_NAME", 20), text("COMPANY_ADDRESS", 60),
                                text("COMPANY_POSTCODE", 10), text("COMPANY_PHONE", 20),
                                text("COMPANY_HANDSET_PHONE", 20), text("COMPANY_CITY", 30),
                                text("COMPANY_PROVINCE", 20), number("COMPANY_POSTCODE_WIDTH"),
                                text("NOTE", 80)} +
                   editCreateAudit(),
               {QStringLiteral("COMPANY_ID")})
      << table("SYS_CLIENT_FIELD_TABLE",
               {text("FIELD_NAME", 30), text("FIELD_DISPLAY_NAME", 20), text("FIELD_TYPE", 10),
                integer("FIELD_WIDTH"), integer("FIELD_DISPLAY_WIDTH"), text("FIELD_FIND_TYPE", 10),
                text("FIELD_ORDER_TYPE", 10), integer("FIELD_ORDER")},
               {QStringLiteral("FIELD_NAME")})
      // Setting names and values are short texts; 40 and 100 bytes leave room
      // for a column name or a caption.
      << table("SYS_ID_TABLE", {text("NAME_ID", 40), text("AUTO_ID", 100)},
               {QStringLiteral("NAME_ID")});
    for (const char* name : {"SYS_DBGRID_SET_TABLE", "SYS_FAST_NAME_TABLE",
                             "SYS_SELECT_CLIENT_PICTURE_TABLE", "SYS_SELECT_CLIENT_FILE_TABLE"})
        t << table(name, gridLayoutColumns(), gridLayoutKey());
    t << table("SYS_PRINT_NAME_TABLE",
               {text("PRINT_INDEX", 80), text("PRINT_ID", 26), text("PRINT_NAME", 180),
                text("PRINT_TYPE", 2)},
               {QStringLiteral("PRINT_ID")})
      << table("SYS_PRINT_DATA_TABLE", {text("PRINT_ID", 26), blob("PRINT_TABLE")},
               {QStringLiteral("PRINT_ID")})
      << table("SYS_BACK_TABLE", {text("BACK_NAME", 80), date("BACK_DATE")}, {});
    return t;
}

QString columnTypeSql(const ColumnDef& column, const QString& driver)
{
    const bool postgres = driver == QLatin1String("QPSQL");
    switch (column.type) {
    case ColumnType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(column.width);
    case ColumnType::Number:
        return QStringLiteral("DOUBLE PRECISION");
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Date:
        // Dates travel as 'YYYY-MM-DD' text; SQLite keeps that text as it is.
        return QStringLiteral("DATE");
    case ColumnType::Blob:
        return postgres ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    }
    return {};
}

} // namespace

const QList<TableDef>& SchemaTables()
{
    static const QList<TableDef> tables = buildTables();
    return tables;
}

const TableDef* FindTable(const QString& tableName)
{
    for (const TableDef& t : SchemaTables())
        if (t.name.compare(tableName, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const ColumnDef* FindColumn(const QString& tableName, const QString& columnName)
{
    const TableDef* t = FindTable(tableName);
    if (!t)
        return nullptr;
    for (const ColumnDef& c : t->columns)
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString CreateTableSql(const TableDef& table, const QString& driver)
{
    QStringList parts;
    for (const ColumnDef& column : table.columns) {
        QString part = column.name + QLatin1Char(' ') + columnTypeSql(column, driver);
        if (table.key.contains(column.name))
            part += QStringLiteral(" NOT NULL");
        parts << part;
    }
    if (!table.key.isEmpty())
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(table.key.join(QLatin1Char(',')));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, parts.join(QStringLiteral(", ")));
}

QStringList IndexesSql()
{
    return {
        QStringLiteral("CREATE INDEX KW_CLIENT_ORDER_ID_IDX ON KW_CLIENT_TABLE (CLIENT_ORDER_ID)"),
        QStringLiteral("CREATE INDEX KW_CLIENT_CREATE_DATE_IDX ON KW_CLIENT_TABLE (CREATE_DATE)"),
        QStringLiteral("CREATE INDEX KW_PICTURE_CLIENT_IDX ON KW_CLIENT_MASTER_PICTURE_TABLE "
                       "(CLIENT_RECORD_ID)"),
        QStringLiteral("CREATE INDEX KW_FILE_CLIENT_IDX ON KW_CLIENT_MASTER_FILE_TABLE "
                       "(CLIENT_RECORD_ID)"),
        QStringLiteral("CREATE INDEX KW_FAST_PRINT_FAST_IDX ON KW_FAST_NAME_PRINT_TABLE (FAST_ID)"),
    };
}

QStringList ReferenceRowsSql()
{
    struct Program
    {
        int compose;
        int program;
        const char* name;
        const char* add;
        const char* browse;
        const char* print;
        const char* verify;
    };
    // The rights that make sense for each program; only these can be granted.
    const Program programs[] = {
        {1, 1, "发件记录录入编辑", "是", "是", "是", "否"},
        {1, 2, "快递名称录入编辑", "是", "是", "是", "否"},
        {1, 3, "发件人资料录入编辑", "是", "是", "否", "否"},
        {2, 1, "数据备份", "否", "是", "否", "否"},
        {2, 2, "数据恢复", "否", "是", "否", "否"},
    };
    QStringList sql{
        QStringLiteral(
            "INSERT INTO SYS_COMPOSE_TABLE(COMPOSE_ID,COMPOSE_NAME) VALUES(1,'快递单据管理')"),
        QStringLiteral(
            "INSERT INTO SYS_COMPOSE_TABLE(COMPOSE_ID,COMPOSE_NAME) VALUES(2,'系统管理')"),
    };
    for (const Program& p : programs)
        sql << QStringLiteral("INSERT INTO SYS_PROGRAM_TABLE(COMPOSE_ID,PROGRAM_ID,PROGRAM_NAME,"
                              "ADD_RIGHT,BROWSE_RIGHT,PRINT_RIGHT,VERIFY_RIGHT) "
                              "VALUES(%1,%2,'%3','%4','%5','%6','%7')")
                   .arg(p.compose)
                   .arg(p.program)
                   .arg(QString::fromUtf8(p.name), QString::fromUtf8(p.add),
                        QString::fromUtf8(p.browse), QString::fromUtf8(p.print),
                        QString::fromUtf8(p.verify));

    const std::pair<const char*, const char*> settings[] = {
        {"发件编号", "是"},       {"检查发件编号重复", "是"}, {"不自动数据备份", "否"},
        {"日期范围节点字段", ""}, {"日期范围节点名称", ""},   {"整页打印", "否"},
    };
    for (const auto& [name, value] : settings)
        sql << QStringLiteral("INSERT INTO SYS_ID_TABLE(NAME_ID,AUTO_ID) VALUES('%1','%2')")
                   .arg(QString::fromUtf8(name), QString::fromUtf8(value));
    return sql;
}
