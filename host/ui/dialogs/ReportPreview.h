#pragma once

#include "hostfw_export.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolBar;
class ReportLayout;

// The preview window of a report that has run: one page at a time, drawn only when it is shown, so the first page
// shows however long the report is. The toolbar goes to the first, previous, next, last or a numbered page, zooms
// (fit width, whole page, 100%), prints and saves. Keys: Page Up/Down, Home/End, Ctrl+P print, Ctrl+S save,
// Ctrl++ and Ctrl+- zoom, Esc closes. A window of its own, destroyed when closed.
class HOSTFW_EXPORT ReportPreview : public QWidget {
    Q_OBJECT
public:
    enum class Zoom { FitWidth, FitPage, Actual };

    ReportPreview(std::shared_ptr<const ReportLayout> layout, QWidget* parent);
    ~ReportPreview() override;

    // 0-based.
    void showPage(int index);
    void setZoom(Zoom zoom);

protected:
    // A fitting zoom follows the size of the room the page has.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolBar* buildToolBar();
    void render();
    double fittingDpi() const;

    std::shared_ptr<const ReportLayout> m_layout;
    int m_page = 0;
    Zoom m_zoom = Zoom::FitWidth;
    double m_scale = 1.0; // of the fitting or actual size, by Ctrl++ and Ctrl+-
    QScrollArea* m_scroll;
    QLabel* m_view;
    QSpinBox* m_pageNumber;
    QComboBox* m_zoomChoice;
};
