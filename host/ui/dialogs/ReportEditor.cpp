#include "ReportEditor.h"

#include "Dialogs.h"
#include "Exceptions.h"
#include "ReportEditing.h"
#include "ReportPageView.h"

#include <QCheckBox>
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
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QStringList Alignments = {u"esquerda"_s, u"direita"_s, u"centro"_s};
const QList<Qt::Alignment> AlignmentValues = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
const QStringList Formats = {u"texto"_s, u"valor"_s, u"data"_s, u"inteiro"_s, u"CFOP"_s, u"entrada/saída"_s};

// Columns of the columns table and of the groups table.
enum ColumnCell { ColumnCaption, ColumnField, ColumnWidth, ColumnAlignment, ColumnFormatCell, ColumnShown };
enum GroupCell { GroupField, GroupCaption, GroupFormat, GroupSubtotals };

constexpr int PreviewDelayMs = 600;

// A cell that holds one of a few choices. Its list exists only while the cell is edited (F2, a double click or a
// typed letter) and opens at once, so that the arrow keys go from cell to cell and change no choice until a
// list is open; picking in the list ends the editing.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    ChoiceDelegate(QStringList choices, QObject* parent) : QStyledItemDelegate(parent), m_choices(std::move(choices)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* list = new QComboBox(parent);
        list->addItems(m_choices);
        list->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
        auto* self = const_cast<ChoiceDelegate*>(this);
        connect(list, &QComboBox::activated, self, [self, list] {
            Q_EMIT self->commitData(list);
            Q_EMIT self->closeEditor(list);
        });
        QTimer::singleShot(0, list, [list] {
            if (list->isVisible()) // not when a typed letter already chose and ended the editing
                list->showPopup();
        });
        return list;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentIndex(std::max(0, int(m_choices.indexOf(index.data().toString()))));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }

private:
    QStringList m_choices;
};

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

// A box of several lines that Tab leaves, as it leaves every other control, instead of typing a tab.
QPlainTextEdit* textBox(const QString& text, const QString& accessibleName = {})
{
    auto* box = new QPlainTextEdit(text);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabChangesFocus(true);
    box->setAccessibleName(accessibleName);
    return box;
}

// The rows of a table in the order the user sees them (dragged by their numbers), as logical row indexes.
QList<int> rowsInOrder(const QTableWidget* table)
{
    QList<int> rows;
    for (int visual = 0; visual < table->rowCount(); ++visual)
        rows.append(table->verticalHeader()->logicalIndex(visual));
    return rows;
}

QString cell(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

int choiceIndex(const QTableWidget* table, int row, int column, const QStringList& choices)
{
    return std::max(0, int(choices.indexOf(cell(table, row, column))));
}

// Moves the current row of the table one place up (-1) or down (+1) in the order the user sees.
void moveCurrentRow(QTableWidget* table, int by)
{
    QHeaderView* rows = table->verticalHeader();
    const int from = rows->visualIndex(table->currentRow());
    if (from >= 0 && from + by >= 0 && from + by < table->rowCount())
        rows->moveSection(from, from + by);
}

QPushButton* button(QLayout* layout, const QString& text, const std::function<void()>& action)
{
    auto* pushButton = new QPushButton(text);
    QObject::connect(pushButton, &QPushButton::clicked, pushButton, action);
    layout->addWidget(pushButton);
    return pushButton;
}

} // namespace

ReportEditor::ReportEditor(const ReportDefinition& definition, ReportEditing& editing, QWidget* parent)
    : QDialog(parent), m_definition(definition), m_editing(editing), m_queries(definition.queries)
{
    setWindowTitle(u"Editar relatório - %1"_s.arg(definition.title));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1180, 640);
    auto* tabs = new QTabWidget;
    tabs->addTab(generalPage(), u"&Geral"_s);
    m_columns = new QTableWidget(0, 6);
    m_columns->setObjectName(u"columns"_s);
    m_columns->setAccessibleName(u"Colunas"_s);
    m_columns->setHorizontalHeaderLabels(
        {u"Título"_s, u"Campo"_s, u"Largura (mm)"_s, u"Alinhamento"_s, u"Formato"_s, u"Exibir"_s});
    m_columns->setItemDelegateForColumn(ColumnAlignment, new ChoiceDelegate(Alignments, m_columns));
    m_columns->setItemDelegateForColumn(ColumnFormatCell, new ChoiceDelegate(Formats, m_columns));
    tabs->addTab(tablePage(m_columns, [this](int row) { fillColumn(row, {}); }), u"&Colunas"_s);
    m_groups = new QTableWidget(0, 4);
    m_groups->setObjectName(u"groups"_s);
    m_groups->setAccessibleName(u"Grupos"_s);
    m_groups->setHorizontalHeaderLabels({u"Campo"_s, u"Título"_s, u"Formato"_s, u"Subtotais (campos)"_s});
    m_groups->setItemDelegateForColumn(GroupFormat, new ChoiceDelegate(Formats, m_groups));
    tabs->addTab(tablePage(m_groups, [this](int row) { fillGroup(row, {}); }), u"G&rupos"_s);
    tabs->addTab(queriesPage(), u"Consultas S&QL"_s);
    for (int row = 0; row < m_definition.columns.size(); ++row) {
        m_columns->insertRow(row);
        fillColumn(row, m_definition.columns[row]);
    }
    for (int row = 0; row < m_definition.groups.size(); ++row) {
        m_groups->insertRow(row);
        fillGroup(row, m_definition.groups[row]);
    }

    auto* splitter = new QSplitter;
    splitter->addWidget(tabs);
    splitter->addWidget(previewPane());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* buttons = new QDialogButtonBox;
    auto* save = buttons->addButton(u"&Salvar"_s, QDialogButtonBox::AcceptRole);
    auto* saveAsNew = buttons->addButton(u"Salvar como &novo"_s, QDialogButtonBox::ActionRole);
    buttons->addButton(u"Cancelar"_s, QDialogButtonBox::RejectRole);
    connect(save, &QPushButton::clicked, this,
            [this] { saveWith([this](const ReportDefinition& edited) { m_editing.save(edited); }); });
    connect(saveAsNew, &QPushButton::clicked, this,
            [this] { saveWith([this](const ReportDefinition& edited) { m_editing.saveAsNew(edited); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addWidget(buttons);

    // Every change draws the preview again once the typing has paused.
    m_previewTimer.setSingleShot(true);
    m_previewTimer.setInterval(PreviewDelayMs);
    connect(&m_previewTimer, &QTimer::timeout, this, &ReportEditor::drawPreview);
    for (auto* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, &ReportEditor::schedulePreview);
    for (auto* edit : findChildren<QPlainTextEdit*>())
        connect(edit, &QPlainTextEdit::textChanged, this, &ReportEditor::schedulePreview);
    for (QTableWidget* table : {m_columns, m_groups}) {
        connect(table->model(), &QAbstractItemModel::dataChanged, this, &ReportEditor::schedulePreview);
        connect(table->model(), &QAbstractItemModel::rowsRemoved, this, &ReportEditor::schedulePreview);
        connect(table->verticalHeader(), &QHeaderView::sectionMoved, this, &ReportEditor::schedulePreview);
    }
    connect(m_orientation, &QComboBox::currentIndexChanged, this, &ReportEditor::schedulePreview);
    m_opened = this->definition().toJson();
    // The first drawing at once, without touching the timer's interval (start(0) would keep 0 for every change).
    QMetaObject::invokeMethod(this, &ReportEditor::drawPreview, Qt::QueuedConnection);
}

QWidget* ReportEditor::generalPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_orientation = new QComboBox;
    m_orientation->addItems({u"Retrato"_s, u"Paisagem"_s});
    m_orientation->setCurrentIndex(m_definition.orientation == QPageLayout::Landscape);
    m_detail = new QLineEdit(m_definition.detail);
    m_description = textBox(m_definition.description);
    m_description->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_header = textBox(m_definition.header.join(u'\n'));
    m_totals = new QLineEdit(m_definition.totals.join(u", "_s));
    form->addRow(u"Código"_s, new QLabel(m_definition.code));
    form->addRow(u"Título"_s, new QLabel(m_definition.title));
    form->addRow(u"D&escrição (o que lista e que documentos entram)"_s, m_description);
    form->addRow(u"&Orientação"_s, m_orientation);
    form->addRow(u"&Detalhe (consulta ou fonte de dados)"_s, m_detail);
    form->addRow(u"Ca&beçalho (uma linha por linha)"_s, m_header);
    form->addRow(u"&Totais (campos)"_s, m_totals);
    return page;
}

QWidget* ReportEditor::queriesPage()
{
    auto* page = new QWidget;
    m_queryList = new QListWidget;
    m_queryList->setAccessibleName(u"Consultas"_s);
    for (const ReportQueryDefinition& query : m_queries)
        m_queryList->addItem(query.name);
    m_queryName = new QLineEdit;
    m_queryRefusal = new QCheckBox(u"Consulta de recus&a: a primeira coluna, quando traz um texto, impede o relatório "
                                   "e é a mensagem mostrada"_s);
    connect(m_queryRefusal, &QCheckBox::toggled, this, &ReportEditor::schedulePreview);
    m_sql = textBox({}, u"SQL"_s);
    m_sql->setFont(QFont(u"Monospace"_s));
    auto* buttons = new QHBoxLayout;
    button(buttons, u"&Incluir"_s, [this] {
        m_queries.append({u"qryNova%1"_s.arg(m_queries.size() + 1), {}});
        m_queryList->addItem(m_queries.last().name);
        m_queryList->setCurrentRow(m_queryList->count() - 1);
    });
    button(buttons, u"E&xcluir"_s, [this] {
        const int row = m_queryList->currentRow();
        if (row < 0)
            return;
        m_shownQuery = -1;
        m_queries.removeAt(row);
        delete m_queryList->takeItem(row);
        schedulePreview();
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
    left->addLayout(buttons);
    auto* right = new QFormLayout;
    right->addRow(u"No&me"_s, m_queryName);
    right->addRow(m_queryRefusal);
    right->addRow(m_sql);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right, 3);
    m_queryList->setCurrentRow(m_queries.isEmpty() ? -1 : 0);
    return page;
}

QWidget* ReportEditor::tablePage(QTableWidget* table, const std::function<void(int)>& fillRow)
{
    auto* page = new QWidget;
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false); // Tab goes on to the buttons; the arrows go from cell to cell
    table->verticalHeader()->setSectionsMovable(true);
    table->verticalHeader()->setToolTip(u"Arraste o número de uma linha para mudar a ordem."_s);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(table);
    auto* buttons = new QHBoxLayout;
    button(buttons, u"&Incluir"_s, [table, fillRow] {
        table->insertRow(table->rowCount());
        fillRow(table->rowCount() - 1);
    });
    button(buttons, u"E&xcluir"_s, [table] {
        if (table->currentRow() >= 0)
            table->removeRow(table->currentRow());
    });
    button(buttons, u"S&ubir"_s, [table] { moveCurrentRow(table, -1); });
    button(buttons, u"D&escer"_s, [table] { moveCurrentRow(table, +1); });
    buttons->addStretch();
    layout->addLayout(buttons);
    return page;
}

QWidget* ReportEditor::previewPane()
{
    auto* pane = new QWidget;
    m_preview = new ReportPageView;
    m_preview->setObjectName(u"previewPage"_s);
    m_preview->setAccessibleName(u"Prévia da primeira página"_s);
    m_problem = new QLabel;
    m_problem->setObjectName(u"previewProblem"_s);
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(u"color: #b00000"_s);
    auto* zoomLabel = new QLabel(u"&Zoom"_s);
    zoomLabel->setBuddy(m_preview->zoomBox());
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Primeira página, com os parâmetros da tela:"_s), 1);
    top->addWidget(zoomLabel);
    top->addWidget(m_preview->zoomBox());
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_problem);
    return pane;
}

void ReportEditor::fillColumn(int row, const ReportColumn& column)
{
    m_columns->setItem(row, ColumnCaption, new QTableWidgetItem(column.caption));
    m_columns->setItem(row, ColumnField, new QTableWidgetItem(column.field));
    m_columns->setItem(row, ColumnWidth, new QTableWidgetItem(QString::number(column.width)));
    m_columns->setItem(
        row, ColumnAlignment,
        new QTableWidgetItem(Alignments.value(AlignmentValues.indexOf(column.alignment), Alignments[0])));
    m_columns->setItem(row, ColumnFormatCell, new QTableWidgetItem(Formats.value(int(column.format))));
    auto* shown = new QTableWidgetItem;
    shown->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    shown->setCheckState(column.shown ? Qt::Checked : Qt::Unchecked);
    m_columns->setItem(row, ColumnShown, shown);
}

void ReportEditor::fillGroup(int row, const ReportGroup& group)
{
    m_groups->setItem(row, GroupField, new QTableWidgetItem(group.field));
    m_groups->setItem(row, GroupCaption, new QTableWidgetItem(group.caption));
    m_groups->setItem(row, GroupFormat, new QTableWidgetItem(Formats.value(int(group.format))));
    m_groups->setItem(row, GroupSubtotals, new QTableWidgetItem(group.subtotals.join(u", "_s)));
}

void ReportEditor::showQuery(int row)
{
    m_shownQuery = row;
    const bool shown = row >= 0 && row < m_queries.size();
    const ReportQueryDefinition query = shown ? m_queries[row] : ReportQueryDefinition{};
    m_queryName->setText(query.name);
    m_queryRefusal->setChecked(query.refusal);
    m_sql->setPlainText(query.sql.join(u'\n'));
    m_queryName->setEnabled(shown);
    m_queryRefusal->setEnabled(shown);
    m_sql->setEnabled(shown);
}

ReportQueryDefinition ReportEditor::shownQuery() const
{
    return {m_queryName->text().trimmed(), lines(m_sql), m_queryRefusal->isChecked()};
}

void ReportEditor::keepQuery(int row)
{
    if (row >= 0 && row < m_queries.size())
        m_queries[row] = shownQuery();
}

ReportDefinition ReportEditor::definition() const
{
    ReportDefinition edited = m_definition;
    edited.description = m_description->toPlainText().trimmed();
    edited.orientation = m_orientation->currentIndex() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
    edited.detail = m_detail->text().trimmed();
    edited.header = lines(m_header);
    edited.totals = splitList(m_totals->text());
    edited.queries = m_queries;
    if (m_shownQuery >= 0 && m_shownQuery < edited.queries.size())
        edited.queries[m_shownQuery] = shownQuery();
    edited.columns.clear();
    for (int row : rowsInOrder(m_columns))
        edited.columns.append({cell(m_columns, row, ColumnField), cell(m_columns, row, ColumnCaption),
                               std::max(1.0, cell(m_columns, row, ColumnWidth).toDouble()),
                               AlignmentValues.value(choiceIndex(m_columns, row, ColumnAlignment, Alignments)),
                               ColumnFormat(choiceIndex(m_columns, row, ColumnFormatCell, Formats)),
                               m_columns->item(row, ColumnShown)->checkState() == Qt::Checked});
    edited.groups.clear();
    for (int row : rowsInOrder(m_groups))
        edited.groups.append({cell(m_groups, row, GroupField), cell(m_groups, row, GroupCaption),
                              ColumnFormat(choiceIndex(m_groups, row, GroupFormat, Formats)),
                              splitList(cell(m_groups, row, GroupSubtotals))});
    return edited;
}

void ReportEditor::schedulePreview() { m_previewTimer.start(); }

void ReportEditor::drawPreview()
{
    try {
        m_preview->setReport(m_editing.preview(definition()));
        m_problem->clear();
    } catch (const EAbort&) {
        m_problem->setText(u"A prévia foi interrompida."_s);
    } catch (const EHostError& e) {
        m_problem->setText(e.message());
    }
}

void ReportEditor::saveWith(const std::function<void(const ReportDefinition&)>& save)
{
    try {
        save(definition());
        accept();
    } catch (const EAbort&) {
    } catch (const EHostError& e) {
        Dialogs::current().showError(e.message());
    }
}

void ReportEditor::reject()
{
    if (definition().toJson() != m_opened &&
        !Dialogs::current().confirm(u"Descartar as alterações feitas em \"%1\"?"_s.arg(m_definition.title)))
        return;
    QDialog::reject();
}
