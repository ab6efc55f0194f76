#include "TBtnPesquisa.h"

#include "Dialogs.h"
#include "Dispatch.h"
#include "TDataSet.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

QPixmap magnifier(const QColor& lens, const QColor& handle)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(handle, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 14.5));
    painter.setPen(QPen(lens.darker(180), 1.6));
    painter.setBrush(lens);
    painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    return pixmap;
}

} // namespace

TBtnPesquisa::TBtnPesquisa(QWidget* parent, const QString& name) : QToolButton(parent)
{
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(u"Pesquisar"_s);
    setIcon(searchGlyph());
    setIconSize(QSize(16, 16));
    resize(21, 21);
    connect(this, &QToolButton::clicked, this, [this] { Dispatch([this] { Click(); }); });
}

QIcon TBtnPesquisa::searchGlyph()
{
    QIcon icon;
    icon.addPixmap(magnifier(QColor(0xB8, 0xD8, 0xF8), QColor(0x40, 0x30, 0x20)), QIcon::Normal);
    icon.addPixmap(magnifier(QColor(0xE0, 0xE0, 0xE0), QColor(0x90, 0x90, 0x90)), QIcon::Disabled);
    return icon;
}

void TBtnPesquisa::Click()
{
    if (!m_dataSource) {
        Fire(OnClick, this);
        return;
    }
    bool allow = true;
    if (OnBeforePesq)
        OnBeforePesq(this, allow);
    if (!allow)
        return;
    TDataSet* dataSet = m_dataSource->DataSet();
    if (!dataSet || dataSet->IsEmpty()) {
        Dialogs::current().showError(EmptyError);
        return;
    }
    const std::optional<int> row = Dialogs::current().pickRow(Title, *dataSet);
    if (!row)
        return;
    dataSet->SetRecNo(*row);
    Fire(OnAfterPesq, this);
}
