#pragma once

#include <QScrollArea>

#include <memory>

class QComboBox;
class QLabel;
class ReportLayout;

// One page of a report on screen, drawn only when it is shown, at the zoom chosen: fit to the width, the whole
// page, or a fixed 25 % to 400 % of the page's real size. zoomIn and zoomOut, and the wheel with Ctrl held, go to the
// next fixed zoom up or down from the zoom in force. The zoom box, which the owner places beside the view, always
// shows the zoom in force and chooses one. A fitting zoom follows the size of the view.
class ReportPageView : public QScrollArea {
    Q_OBJECT
public:
    explicit ReportPageView(QWidget* parent = nullptr);
    ~ReportPageView() override;

    // The report's page shown now stays shown when the report has it, otherwise its last page.
    void setReport(std::shared_ptr<const ReportLayout> layout);
    // 0-based, brought within the report's pages.
    void showPage(int index);
    int page() const { return m_page; }

    void zoomIn();
    void zoomOut();
    // The zoom in force, in percent of the page's real size.
    int zoomPercent() const;
    QComboBox* zoomBox() const { return m_zoomBox; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setZoomItem(int item);
    void zoomBy(int direction);
    double zoomDpi() const;
    void render();

    std::shared_ptr<const ReportLayout> m_layout;
    int m_page = 0;
    int m_zoomItem = 0; // the item of the zoom box in force
    QLabel* m_picture;
    QComboBox* m_zoomBox;
};
