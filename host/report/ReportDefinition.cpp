#include "ReportDefinition.h"

#include "Exceptions.h"
#include "SqlParameters.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void invalid(const QString& fileName, const QString& problem)
{
    throw EReportDefinitionError(u"A definição de relatório '%1' é inválida: %2."_s.arg(fileName, problem));
}

const QList<std::pair<QString, ColumnFormat>>& formatNames()
{
    static const QList<std::pair<QString, ColumnFormat>> names = {
        {u"text"_s, ColumnFormat::Text}, {u"amount"_s, ColumnFormat::Amount},
        {u"date"_s, ColumnFormat::Date}, {u"integer"_s, ColumnFormat::Integer},
        {u"cfop"_s, ColumnFormat::Cfop}, {u"direction"_s, ColumnFormat::Direction},
    };
    return names;
}

const QList<std::pair<QString, Qt::Alignment>>& alignmentNames()
{
    static const QList<std::pair<QString, Qt::Alignment>> names = {
        {u"left"_s, Qt::AlignLeft}, {u"right"_s, Qt::AlignRight}, {u"center"_s, Qt::AlignHCenter}};
    return names;
}

template <class T>
T valueNamed(const QList<std::pair<QString, T>>& names, const QString& name, const QString& what,
             const QString& fileName)
{
    for (const auto& [text, value] : names)
        if (text == name)
            return value;
    invalid(fileName, u"%1 desconhecido: \"%2\""_s.arg(what, name));
}

template <class T>
QString nameOf(const QList<std::pair<QString, T>>& names, T value)
{
    for (const auto& [text, known] : names)
        if (known == value)
            return text;
    return names.constFirst().first;
}

// Reads the members of one JSON object, naming where it is in every complaint.
class Reader {
public:
    Reader(const QJsonObject& object, QString where, QString fileName)
        : m_object(object), m_where(std::move(where)), m_fileName(std::move(fileName))
    {}

    QString text(const QString& key, bool required = true) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() && !required)
            return {};
        if (!value.isString() || (required && value.toString().trimmed().isEmpty()))
            complain(key, u"um texto"_s);
        return value.toString();
    }

    QStringList texts(const QString& key) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined())
            return {};
        if (!value.isArray())
            complain(key, u"uma lista de textos"_s);
        QStringList result;
        for (const QJsonValue& item : value.toArray()) {
            if (!item.isString())
                complain(key, u"uma lista de textos"_s);
            result.append(item.toString());
        }
        return result;
    }

    QList<QJsonObject> objects(const QString& key) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined())
            return {};
        if (!value.isArray())
            complain(key, u"uma lista"_s);
        QList<QJsonObject> result;
        for (const QJsonValue& item : value.toArray()) {
            if (!item.isObject())
                complain(key, u"uma lista de objetos"_s);
            result.append(item.toObject());
        }
        return result;
    }

    double number(const QString& key, double fallback) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined())
            return fallback;
        if (!value.isDouble() || value.toDouble() <= 0)
            complain(key, u"um número maior que zero"_s);
        return value.toDouble();
    }

    bool flag(const QString& key) const
    {
        const QJsonValue value = m_object.value(key);
        if (!value.isUndefined() && !value.isBool())
            complain(key, u"true ou false"_s);
        return value.toBool();
    }

private:
    [[noreturn]] void complain(const QString& key, const QString& expected) const
    {
        invalid(m_fileName, u"%1\"%2\" deve ser %3"_s.arg(m_where, key, expected));
    }

    QJsonObject m_object;
    QString m_where;
    QString m_fileName;
};

ReportQueryDefinition queryFrom(const Reader& reader)
{
    return {reader.text(u"name"_s), reader.texts(u"sql"_s), reader.flag(u"refusal"_s)};
}

// The house form of the definition files, written by hand because QJsonDocument sorts keys and puts every value on
// a line of its own.

// A text or a number as JSON.
QByteArray jsonOf(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArrayList jsonTexts(const QStringList& texts)
{
    QByteArrayList items;
    for (const QString& text : texts)
        items.append(jsonOf(text));
    return items;
}

// ["A", "B"] on one line.
QByteArray inlineTexts(const QStringList& texts) { return '[' + jsonTexts(texts).join(", ") + ']'; }

using Members = QList<std::pair<QString, QByteArray>>; // each value already JSON

// {"key": value, ...} on one line.
QByteArray inlineObject(const Members& members)
{
    QByteArrayList items;
    for (const auto& [key, value] : members)
        items.append(jsonOf(key) + ": " + value);
    return '{' + items.join(", ") + '}';
}

// A list of items (already JSON), one a line, inside a member indented by indent.
QByteArray listBlock(const QByteArrayList& items, int indent)
{
    if (items.isEmpty())
        return "[]";
    const QByteArray inner(indent + 2, ' ');
    return "[\n" + inner + items.join(",\n" + inner) + '\n' + QByteArray(indent, ' ') + ']';
}

// An object whose members each take a line, opened where it stands, indented by indent.
QByteArray objectBlock(const Members& members, int indent)
{
    const QByteArray inner(indent + 2, ' ');
    QByteArrayList lines;
    for (const auto& [key, value] : members)
        lines.append(inner + jsonOf(key) + ": " + value);
    return "{\n" + lines.join(",\n") + '\n' + QByteArray(indent, ' ') + '}';
}

// "{query.FIELD}" in a header line.
const QRegularExpression& headerQueryFields()
{
    static const QRegularExpression token(u"\\{(\\w+)\\.(\\w+)\\}"_s);
    return token;
}

bool isNumeric(ColumnFormat format) { return format == ColumnFormat::Amount || format == ColumnFormat::Integer; }

} // namespace

ReportDefinition ReportDefinition::fromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EReportDefinitionError(
            u"A definição de relatório '%1' não pode ser lida: %2."_s.arg(fileName, file.errorString()));
    const QByteArray content = file.readAll();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError) {
        // The parser stops just past the character at fault.
        const QString before = QString::fromUtf8(content.left(std::max(0, error.offset - 1)));
        const qsizetype column = before.size() - before.lastIndexOf(u'\n');
        invalid(fileName,
                u"linha %1, coluna %2: %3"_s.arg(before.count(u'\n') + 1).arg(column).arg(error.errorString()));
    }
    if (!document.isObject())
        invalid(fileName, u"o conteúdo não é um objeto JSON"_s);
    return fromJson(document.object(), fileName);
}

ReportDefinition ReportDefinition::fromJson(const QJsonObject& json, const QString& fileName)
{
    const Reader reader(json, {}, fileName);
    ReportDefinition definition;
    definition.fileName = fileName;
    definition.code = reader.text(u"code"_s);
    definition.title = reader.text(u"title"_s);
    definition.description = reader.text(u"description"_s, false);
    const QString orientation = reader.text(u"orientation"_s, false);
    if (!orientation.isEmpty())
        definition.orientation = valueNamed<QPageLayout::Orientation>(
            {{u"portrait"_s, QPageLayout::Portrait}, {u"landscape"_s, QPageLayout::Landscape}}, orientation,
            u"orientation"_s, fileName);
    definition.header = reader.texts(u"header"_s);
    for (const QJsonObject& query : reader.objects(u"queries"_s))
        definition.queries.append(queryFrom(Reader(query, u"consulta: "_s, fileName)));
    definition.detail = reader.text(u"detail"_s, false);
    for (const QJsonObject& object : reader.objects(u"columns"_s)) {
        const Reader column(object, u"coluna: "_s, fileName);
        ReportColumn c;
        c.field = column.text(u"field"_s);
        c.caption = column.text(u"caption"_s, false);
        c.width = column.number(u"width"_s, c.width);
        const QString align = column.text(u"align"_s, false);
        if (!align.isEmpty())
            c.alignment = valueNamed(alignmentNames(), align, u"align"_s, fileName);
        const QString format = column.text(u"format"_s, false);
        if (!format.isEmpty())
            c.format = valueNamed(formatNames(), format, u"format"_s, fileName);
        c.shown = !column.flag(u"hidden"_s);
        definition.columns.append(c);
    }
    for (const QJsonObject& object : reader.objects(u"groups"_s)) {
        const Reader group(object, u"grupo: "_s, fileName);
        ReportGroup g;
        g.field = group.text(u"field"_s);
        g.caption = group.text(u"caption"_s, false);
        const QString format = group.text(u"format"_s, false);
        if (!format.isEmpty())
            g.format = valueNamed(formatNames(), format, u"format"_s, fileName);
        g.subtotals = group.texts(u"subtotals"_s);
        definition.groups.append(g);
    }
    definition.totals = reader.texts(u"totals"_s);
    definition.check();
    return definition;
}

QByteArray ReportDefinition::toJson() const
{
    QByteArrayList queriesJson;
    for (const ReportQueryDefinition& query : queries) {
        Members members{{u"name"_s, jsonOf(query.name)}};
        if (query.refusal)
            members.append({u"refusal"_s, "true"});
        members.append({u"sql"_s, listBlock(jsonTexts(query.sql), 6)});
        queriesJson.append(objectBlock(members, 4));
    }
    QByteArrayList columnsJson;
    for (const ReportColumn& column : columns) {
        Members members{{u"field"_s, jsonOf(column.field)},
                        {u"caption"_s, jsonOf(column.caption)},
                        {u"width"_s, jsonOf(column.width)},
                        {u"align"_s, jsonOf(nameOf(alignmentNames(), column.alignment))},
                        {u"format"_s, jsonOf(nameOf(formatNames(), column.format))}};
        if (!column.shown)
            members.append({u"hidden"_s, "true"});
        columnsJson.append(inlineObject(members));
    }
    QByteArrayList groupsJson;
    for (const ReportGroup& group : groups)
        groupsJson.append(inlineObject({{u"field"_s, jsonOf(group.field)},
                                        {u"caption"_s, jsonOf(group.caption)},
                                        {u"format"_s, jsonOf(nameOf(formatNames(), group.format))},
                                        {u"subtotals"_s, inlineTexts(group.subtotals)}}));
    Members members{{u"code"_s, jsonOf(code)}, {u"title"_s, jsonOf(title)}};
    if (!description.isEmpty())
        members.append({u"description"_s, jsonOf(description)});
    members.append({u"orientation"_s, orientation == QPageLayout::Landscape ? "\"landscape\"" : "\"portrait\""});
    members.append({u"header"_s, listBlock(jsonTexts(header), 2)});
    members.append({u"queries"_s, listBlock(queriesJson, 2)});
    members.append({u"detail"_s, jsonOf(detail)});
    members.append({u"columns"_s, listBlock(columnsJson, 2)});
    members.append({u"groups"_s, listBlock(groupsJson, 2)});
    members.append({u"totals"_s, inlineTexts(totals)});
    return objectBlock(members, 0) + '\n';
}

void ReportDefinition::save(const QString& target) const
{
    ReportDefinition checked = *this;
    checked.fileName = target;
    checked.check();
    const QFileInfo folder(QFileInfo(target).absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        throw EReportDefinitionError(
            u"A pasta '%1' não permite gravar a definição de relatório; peça acesso de escrita a ela."_s.arg(
                QDir::toNativeSeparators(folder.absoluteFilePath())));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson()) < 0 || !file.commit())
        throw EReportDefinitionError(
            u"A definição de relatório '%1' não pôde ser gravada: %2."_s.arg(target, file.errorString()));
}

void ReportDefinition::check() const
{
    if (title.trimmed().isEmpty())
        invalid(fileName, u"sem título"_s);
    if (queries.isEmpty())
        invalid(fileName, u"nenhuma consulta"_s);
    QStringList names;
    for (const ReportQueryDefinition& query : queries) {
        if (query.name.trimmed().isEmpty())
            invalid(fileName, u"uma consulta sem nome"_s);
        if (names.contains(query.name, Qt::CaseInsensitive))
            invalid(fileName, u"a consulta \"%1\" aparece duas vezes"_s.arg(query.name));
        if (query.sql.join(QString()).trimmed().isEmpty())
            invalid(fileName, u"a consulta \"%1\" não tem texto SQL"_s.arg(query.name));
        for (const QString& parameter : SqlParameters::parse(query.sql.join(u'\n')).names)
            if (!parameter.startsWith(u"P_"_s, Qt::CaseInsensitive))
                invalid(fileName, u"a consulta \"%1\" usa o parâmetro \":%2\"; só valem parâmetros \":P_...\""_s.arg(
                                      query.name, parameter));
        names.append(query.name);
    }
    if (detail.trimmed().isEmpty())
        invalid(fileName, u"sem \"detail\""_s);
    for (const ReportQueryDefinition& query : queries)
        if (query.refusal && query.name.compare(detail, Qt::CaseInsensitive) == 0)
            invalid(fileName, u"o \"detail\" \"%1\" é uma consulta de recusa"_s.arg(detail));
    if (std::none_of(columns.begin(), columns.end(), [](const ReportColumn& c) { return c.shown; }))
        invalid(fileName, u"nenhuma coluna exibida"_s);
    const auto checkSums = [&](const QStringList& fields, const QString& where) {
        for (const QString& field : fields) {
            const ReportColumn* summed = column(field);
            if (!summed || !isNumeric(summed->format))
                invalid(fileName, u"%1 \"%2\" não é uma coluna de valor ou inteiro"_s.arg(where, field));
        }
    };
    for (const ReportGroup& group : groups)
        checkSums(group.subtotals, u"o subtotal do grupo \"%1\","_s.arg(group.field));
    checkSums(totals, u"o total"_s);
    for (const QString& line : header)
        for (const QRegularExpressionMatch& match : headerQueryFields().globalMatch(line))
            if (!names.contains(match.captured(1), Qt::CaseInsensitive))
                invalid(fileName, u"o cabeçalho cita a consulta \"%1\", que não existe"_s.arg(match.captured(1)));
}

void ReportDefinition::checkHeaderFields(const std::function<QStringList(const QString& query)>& fieldsOf) const
{
    for (const QString& line : header)
        for (const QRegularExpressionMatch& match : headerQueryFields().globalMatch(line))
            if (!fieldsOf(match.captured(1)).contains(match.captured(2), Qt::CaseInsensitive))
                invalid(fileName, u"o cabeçalho cita o campo \"%1\", que a consulta \"%2\" não devolve"_s.arg(
                                      match.captured(2), match.captured(1)));
}

void ReportDefinition::checkFields(const QStringList& detailFields) const
{
    const auto known = [&](const QString& field) { return detailFields.contains(field, Qt::CaseInsensitive); };
    for (const ReportColumn& c : columns)
        if (!known(c.field))
            invalid(fileName, u"a coluna \"%1\" não é um campo de \"%2\""_s.arg(c.field, detail));
    for (const ReportGroup& group : groups)
        if (!known(group.field))
            invalid(fileName, u"o grupo \"%1\" não é um campo de \"%2\""_s.arg(group.field, detail));
}

ReportDefinition ReportDefinition::shownPart() const
{
    ReportDefinition shown = *this;
    shown.columns.clear();
    for (const ReportColumn& c : columns)
        if (c.shown)
            shown.columns.append(c);
    const auto shownSums = [&shown](const QStringList& fields) {
        QStringList kept;
        for (const QString& field : fields)
            if (shown.column(field))
                kept.append(field);
        return kept;
    };
    for (ReportGroup& group : shown.groups)
        group.subtotals = shownSums(group.subtotals);
    shown.totals = shownSums(totals);
    return shown;
}

const ReportColumn* ReportDefinition::column(const QString& field) const
{
    for (const ReportColumn& c : columns)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}
