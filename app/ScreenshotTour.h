#pragma once

#include <QString>

class QMdiArea;

// Walks the report titles of the active screen in `area` as a user does, with the keyboard in its report combo
// (`cbbReportNames`), and after each step saves a PNG of the screen's window into `dir`, named after the title's
// position and text ("04-conferencia-gia-rs.png"). Returns the files written; raises EHostConfigError when there
// is no screen with a report combo or a file cannot be written.
QStringList TakeReportScreenshots(QMdiArea& area, const QString& dir);
