#pragma once
// Help > Getting started: the guide's page in the program's language, shown
// with Qt alone (no browser, no network), pictures from the installed guide folder.
#include <QDialog>

class QTextBrowser;

namespace tarvane {

struct Program;

class FrmGuide : public QDialog {
    Q_OBJECT
  public:
    explicit FrmGuide(Program& p, QWidget* parent = nullptr);
    QTextBrowser* Browser = nullptr;
};

} // namespace tarvane
