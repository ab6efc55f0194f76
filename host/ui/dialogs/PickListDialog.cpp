#include "PickListDialog.h"

#include "DataSetModel.h"
#include "TDataSet.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PickListDialog::PickListDialog(const QString& title, TDataSet& dataSet, bool checkable, QWidget* parent)
    : QDialog(parent), m_model(new DataSetModel(dataSet, checkable, this)), m_proxy(new QSortFilterProxyModel(this)),
      m_filter(new QLineEdit(this)), m_view(new QTableView(this)), m_checkable(checkable)
{
    setWindowTitle(title);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);

    m_filter->setObjectName(u"filter"_s);
    m_filter->setPlaceholderText(u"Filtrar"_s);
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(this);

    m_view->setObjectName(u"rows"_s);
    m_view->setModel(m_proxy);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->installEventFilter(this);
    const int charWidth = m_view->fontMetrics().averageCharWidth();
    const QList<int> widths = m_model->displayWidths();
    int total = 0;
    for (int column = 0; column < widths.size(); ++column) {
        // Room for as many digits as the display width (digits are wider than the average character), never
        // narrower than the column's caption.
        const int width =
            std::max(m_view->fontMetrics().horizontalAdvance(QString(widths[column], u'0')) + 2 * charWidth,
                     m_view->horizontalHeader()->sectionSizeHint(column)) +
            (checkable && column == 0 ? 24 : 0);
        m_view->setColumnWidth(column, width);
        total += width;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
    resize(std::clamp(total + 40, 320, 900), 400);

    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_proxy->setFilterFixedString(text);
        selectFirstRow();
    });
    connect(m_view, &QTableView::doubleClicked, this, [this] {
        if (!m_checkable)
            pick();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &PickListDialog::pick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const int current = dataSet.RecNo();
    if (current >= 0 && !checkable)
        m_view->selectRow(current);
    else
        selectFirstRow();
    m_filter->setFocus();
}

std::optional<int> PickListDialog::currentRow() const
{
    const QModelIndex index = m_view->currentIndex();
    if (!index.isValid())
        return std::nullopt;
    return m_proxy->mapToSource(index).row();
}

QList<int> PickListDialog::checkedRows() const { return m_model->checkedRows(); }

void PickListDialog::setCheckedRows(const QList<int>& rows)
{
    for (int row : rows)
        m_model->setData(m_model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
}

void PickListDialog::toggleCurrentRow()
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        return;
    const QModelIndex box = m_proxy->index(current.row(), 0);
    const bool checked = box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    m_proxy->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void PickListDialog::selectFirstRow()
{
    if (m_proxy->rowCount() > 0)
        m_view->selectRow(0);
    else
        m_view->setCurrentIndex({});
}

void PickListDialog::pick()
{
    if (m_checkable || currentRow())
        accept();
}

bool PickListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Space:
        if (m_checkable) {
            toggleCurrentRow();
            return true;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pick();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (watched == m_filter) {
            QCoreApplication::sendEvent(m_view, event);
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
