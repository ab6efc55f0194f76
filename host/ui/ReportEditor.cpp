#include "ReportEditor.h"

#include "Dialogs.h"
#include "Exceptions.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QStringList Alignments = {u"left"_s, u"right"_s, u"center"_s};
const QStringList Formats = {u"text"_s, u"amount"_s, u"date"_s, u"integer"_s, u"cfop"_s};

int alignmentIndex(Qt::Alignment alignment)
{
    return alignment & Qt::AlignRight ? 1 : alignment & Qt::AlignHCenter ? 2 : 0;
}

QStringList splitList(const QString& text)
{
    QStringList items;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts))
        items.append(item.trimmed());
    return items;
}

QStringList lines(const QPlainTextEdit* edit)
{
    return edit->toPlainText().isEmpty() ? QStringList{} : edit->toPlainText().split(u'\n');
}

QComboBox* choice(const QStringList& items, int current)
{
    auto* combo = new QComboBox;
    combo->addItems(items);
    combo->setCurrentIndex(current);
    return combo;
}

QString cell(const QTableWidget* table, int row, int column)
{
    if (auto* combo = qobject_cast<QComboBox*>(table->cellWidget(row, column)))
        return combo->currentText();
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

// Buttons that add a row at the end and remove the current one.
QWidget* rowButtons(QTableWidget* table, const std::function<void(int)>& fillRow)
{
    auto* buttons = new QWidget;
    auto* layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* add = new QPushButton(u"Incluir"_s);
    auto* remove = new QPushButton(u"Excluir"_s);
    layout->addWidget(add);
    layout->addWidget(remove);
    layout->addStretch();
    QObject::connect(add, &QPushButton::clicked, table, [table, fillRow] {
        table->insertRow(table->rowCount());
        fillRow(table->rowCount() - 1);
    });
    QObject::connect(remove, &QPushButton::clicked, table, [table] {
        if (table->currentRow() >= 0)
            table->removeRow(table->currentRow());
    });
    return buttons;
}

} // namespace

ReportEditor::ReportEditor(const ReportDefinition& definition, QWidget* parent)
    : QDialog(parent), m_definition(definition), m_queries(definition.queries)
{
    setWindowTitle(u"Editar relatório - %1"_s.arg(definition.title));
    resize(820, 560);
    auto* tabs = new QTabWidget;
    tabs->addTab(generalPage(), u"Geral"_s);
    tabs->addTab(queriesPage(), u"Consultas"_s);
    m_columns = new QTableWidget(0, 5);
    m_columns->setObjectName(u"columns"_s);
    m_columns->setHorizontalHeaderLabels({u"Campo"_s, u"Título"_s, u"Largura (mm)"_s, u"Alinhamento"_s, u"Formato"_s});
    tabs->addTab(tablePage(m_columns), u"Colunas"_s);
    m_groups = new QTableWidget(0, 4);
    m_groups->setObjectName(u"groups"_s);
    m_groups->setHorizontalHeaderLabels({u"Campo"_s, u"Título"_s, u"Formato"_s, u"Subtotais (campos)"_s});
    tabs->addTab(tablePage(m_groups), u"Grupos"_s);
    fillColumns();
    fillGroups();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Salvar"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Cancelar"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

QWidget* ReportEditor::generalPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_orientation = choice({u"Retrato"_s, u"Paisagem"_s}, m_definition.orientation == QPageLayout::Landscape);
    m_detail = new QLineEdit(m_definition.detail);
    m_header = new QPlainTextEdit(m_definition.header.join(u'\n'));
    m_header->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_totals = new QLineEdit(m_definition.totals.join(u", "_s));
    form->addRow(u"Código"_s, new QLabel(m_definition.code));
    form->addRow(u"Título"_s, new QLabel(m_definition.title));
    form->addRow(u"&Orientação"_s, m_orientation);
    form->addRow(u"&Detalhe (consulta ou fonte de dados)"_s, m_detail);
    form->addRow(u"&Cabeçalho (uma linha por linha)"_s, m_header);
    form->addRow(u"T&otais (campos)"_s, m_totals);
    return page;
}

QWidget* ReportEditor::queriesPage()
{
    auto* page = new QWidget;
    m_queryList = new QListWidget;
    for (const ReportQueryDefinition& query : m_queries)
        m_queryList->addItem(query.name);
    m_queryName = new QLineEdit;
    auto* texts = new QTabWidget;
    const QStringList dialects = {u"SQL"_s, u"SQL Oracle"_s, u"SQL MS SQL"_s};
    for (int i = 0; i < 3; ++i) {
        m_sql[i] = new QPlainTextEdit;
        m_sql[i]->setFont(QFont(u"Monospace"_s));
        m_sql[i]->setLineWrapMode(QPlainTextEdit::NoWrap);
        texts->addTab(m_sql[i], dialects[i]);
    }
    auto* add = new QPushButton(u"Incluir"_s);
    auto* remove = new QPushButton(u"Excluir"_s);
    connect(add, &QPushButton::clicked, this, [this] {
        m_queries.append({u"qryNova%1"_s.arg(m_queries.size() + 1), {}, {}, {}});
        m_queryList->addItem(m_queries.last().name);
        m_queryList->setCurrentRow(m_queryList->count() - 1);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = m_queryList->currentRow();
        if (row < 0)
            return;
        m_shownQuery = -1;
        m_queries.removeAt(row);
        delete m_queryList->takeItem(row);
    });
    connect(m_queryList, &QListWidget::currentRowChanged, this, [this](int row) {
        keepQuery(m_shownQuery);
        showQuery(row);
    });
    connect(m_queryName, &QLineEdit::textEdited, this, [this](const QString& name) {
        if (QListWidgetItem* item = m_queryList->item(m_shownQuery))
            item->setText(name);
    });

    auto* left = new QVBoxLayout;
    left->addWidget(m_queryList);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    left->addLayout(buttons);
    auto* right = new QFormLayout;
    right->addRow(u"&Nome"_s, m_queryName);
    right->addRow(texts);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right, 3);
    m_queryList->setCurrentRow(m_queries.isEmpty() ? -1 : 0);
    return page;
}

QWidget* ReportEditor::tablePage(QTableWidget* table)
{
    auto* page = new QWidget;
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(table);
    const bool columns = table == m_columns;
    layout->addWidget(rowButtons(table, [this, table, columns](int row) {
        for (int c = 0; c < table->columnCount(); ++c)
            table->setItem(row, c, new QTableWidgetItem(columns && c == 2 ? u"20"_s : QString()));
        if (columns) {
            table->setCellWidget(row, 3, choice(Alignments, 0));
            table->setCellWidget(row, 4, choice(Formats, 0));
        } else {
            table->setCellWidget(row, 2, choice(Formats, 0));
        }
    }));
    return page;
}

void ReportEditor::fillColumns()
{
    m_columns->setRowCount(int(m_definition.columns.size()));
    for (int row = 0; row < m_columns->rowCount(); ++row) {
        const ReportColumn& column = m_definition.columns[row];
        m_columns->setItem(row, 0, new QTableWidgetItem(column.field));
        m_columns->setItem(row, 1, new QTableWidgetItem(column.caption));
        m_columns->setItem(row, 2, new QTableWidgetItem(QString::number(column.width)));
        m_columns->setCellWidget(row, 3, choice(Alignments, alignmentIndex(column.alignment)));
        m_columns->setCellWidget(row, 4, choice(Formats, int(column.format)));
    }
}

void ReportEditor::fillGroups()
{
    m_groups->setRowCount(int(m_definition.groups.size()));
    for (int row = 0; row < m_groups->rowCount(); ++row) {
        const ReportGroup& group = m_definition.groups[row];
        m_groups->setItem(row, 0, new QTableWidgetItem(group.field));
        m_groups->setItem(row, 1, new QTableWidgetItem(group.caption));
        m_groups->setCellWidget(row, 2, choice(Formats, int(group.format)));
        m_groups->setItem(row, 3, new QTableWidgetItem(group.subtotals.join(u", "_s)));
    }
}

void ReportEditor::showQuery(int row)
{
    m_shownQuery = row;
    const bool shown = row >= 0 && row < m_queries.size();
    const ReportQueryDefinition query = shown ? m_queries[row] : ReportQueryDefinition{};
    m_queryName->setText(query.name);
    m_sql[0]->setPlainText(query.sql.join(u'\n'));
    m_sql[1]->setPlainText(query.sqlOracle.join(u'\n'));
    m_sql[2]->setPlainText(query.sqlMssql.join(u'\n'));
    m_queryName->setEnabled(shown);
    for (QPlainTextEdit* sql : m_sql)
        sql->setEnabled(shown);
}

ReportQueryDefinition ReportEditor::shownQuery() const
{
    return {m_queryName->text().trimmed(), lines(m_sql[0]), lines(m_sql[1]), lines(m_sql[2])};
}

void ReportEditor::keepQuery(int row)
{
    if (row >= 0 && row < m_queries.size())
        m_queries[row] = shownQuery();
}

ReportDefinition ReportEditor::definition() const
{
    ReportDefinition edited = m_definition;
    edited.orientation = m_orientation->currentIndex() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
    edited.detail = m_detail->text().trimmed();
    edited.header = lines(m_header);
    edited.totals = splitList(m_totals->text());
    edited.queries = m_queries;
    if (m_shownQuery >= 0 && m_shownQuery < edited.queries.size())
        edited.queries[m_shownQuery] = shownQuery();
    edited.columns.clear();
    for (int row = 0; row < m_columns->rowCount(); ++row) {
        const QString align = cell(m_columns, row, 3);
        edited.columns.append({cell(m_columns, row, 0), cell(m_columns, row, 1),
                               std::max(1.0, cell(m_columns, row, 2).toDouble()),
                               align == u"right" ? Qt::AlignRight : align == u"center" ? Qt::AlignHCenter : Qt::AlignLeft,
                               ColumnFormat(Formats.indexOf(cell(m_columns, row, 4)))});
    }
    edited.groups.clear();
    for (int row = 0; row < m_groups->rowCount(); ++row)
        edited.groups.append({cell(m_groups, row, 0), cell(m_groups, row, 1),
                              ColumnFormat(Formats.indexOf(cell(m_groups, row, 2))), splitList(cell(m_groups, row, 3))});
    return edited;
}

void ReportEditor::accept()
{
    try {
        definition().check();
    } catch (const EReportDefinitionError& e) {
        Dialogs::current().showError(e.message());
        return;
    }
    QDialog::accept();
}
