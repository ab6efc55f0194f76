#pragma once

#include "hostfw_export.h"

#include <QMainWindow>

#include <memory>

class QSpinBox;
class QToolBar;
class ReportLayout;
class ReportPageView;

// The preview window of a report that has run, a window of its own (announced as such to assistive technology),
// destroyed when closed: one page at a time, drawn only when it is shown, so the first page shows however long the
// report is. The toolbar goes to the first, previous, next, last or a numbered page, zooms (fit width, whole page,
// 25 % to 400 %, the zoom box showing the zoom in force), prints and saves. Keys: Page Up/Down, Home/End, Ctrl+P
// print, Ctrl+S save, Ctrl++ and Ctrl+- zoom (and the wheel with Ctrl held), Esc closes.
class HOSTFW_EXPORT ReportPreview : public QMainWindow {
    Q_OBJECT
public:
    ReportPreview(std::shared_ptr<const ReportLayout> layout, QWidget* parent);
    ~ReportPreview() override;

    // 0-based.
    void showPage(int index);

private:
    QToolBar* buildToolBar();

    std::shared_ptr<const ReportLayout> m_layout;
    ReportPageView* m_view;
    QSpinBox* m_pageNumber;
};
