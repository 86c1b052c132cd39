// The windows' look on the offscreen platform, run at scale factors 1, 1.5 and 2: the whole light
// palette (texts under a real dark GTK theme: test_desktop.py), group boxes through their titles, fields that show
// their numbers whole, the client area at the screen's resolution, F1 for the About box. (The windows on small screens
// and their icons: test_desktop.py, on a real X server.)
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>

#include "app/day_course_dlg.h"
#include "app/sun_app.h"
#include "platform/qt/look.h"
#include "platform/qt/qt_backend.h"
#include "res/ids.h"
#include "res/resources.h"

namespace {

double Luminance(QRgb p) {  // relative luminance, as WCAG defines it
  const auto linear = [](int c) { return c <= 10 ? c / 255.0 / 12.92 : std::pow((c / 255.0 + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(qRed(p)) + 0.7152 * linear(qGreen(p)) + 0.0722 * linear(qBlue(p));
}

QLineEdit* Field(QWidget* dialog, int id) { return dialog->findChild<QLineEdit*>(QString("control_%1").arg(id)); }

// The rightmost column (logical) with dark pixels in the field.
int TextEnd(QLineEdit* field) {
  const QImage image = field->grab().toImage();
  int end = -1;
  for (int y = 2; y < image.height() - 2; ++y)
    for (int x = 2; x < image.width() - 2; ++x)
      if (qGray(image.pixel(x, y)) < 120) end = std::max(end, x);
  return static_cast<int>(end / field->devicePixelRatioF());
}

// Calls `step` with the innermost modal window, once it is active, until it says it is done.
void WhenActive(std::function<bool(QWidget*)> step) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* top = QApplication::activeModalWidget();
    if (top && !top->isActiveWindow()) return top->activateWindow();  // keys go to the active one
    if (top && step(top)) timer->deleteLater(), timer->stop();
  });
  timer->start(5);
}

}  // namespace

class LookGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void thePaletteIsWholeAndFusionsLightOne();
  void groupBoxFramesRunThroughTheirTitles();
  void fieldsShowTheirNumbersWholeAndTheirStartAfterTheFocus();
  void f1OpensTheAboutBoxFromTheMainAndTheYearWindow();

 private:
  // Opens the main dialog, runs `check` on its window, then closes it.
  void WithMainWindow(std::function<void(QWidget*)> check) {
    WhenActive([&](QWidget* main) {
      check(main);
      QTest::keyClick(main, Qt::Key_Escape);
      return true;
    });
    app::CSunApp app(backend, "/usr/bin/tagvaroskop");
    app::CDayCourseDlg dlg(app);
    dlg.DoModal();
    QCOMPARE(dlg.Client().Ratio(), qApp->devicePixelRatio());  // drawn at the screen's resolution
  }
  platform::QtBackend backend;
};

// Every colour of every group is set, so that a platform theme (a dark GTK theme) fills in
// none of its own; and they are Fusion's light colours (but the dialog's background and a darker
// highlight, on which selected text is readable), which the golden pictures were drawn with.
void LookGuiTest::thePaletteIsWholeAndFusionsLightOne() {
  platform::UseLightLook();
  const QPalette palette = platform::LightPalette();
  QStyle* fusion = QStyleFactory::create("Fusion");
  const QPalette standard = fusion->standardPalette();
  delete fusion;
  for (int group = 0; group < QPalette::NColorGroups; ++group) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto g = static_cast<QPalette::ColorGroup>(group);
      const auto r = static_cast<QPalette::ColorRole>(role);
      QVERIFY2(palette.isBrushSet(g, r), qPrintable(QString("group %1, role %2").arg(group).arg(role)));
      if (r != QPalette::Window && r != QPalette::Button && !(r == QPalette::Highlight && g != QPalette::Disabled))
        QVERIFY2(palette.color(g, r).rgba() == standard.color(g, r).rgba(),
                 qPrintable(QString("group %1, role %2").arg(group).arg(role)));
    }
  }
  QCOMPARE(QApplication::palette("QLineEdit").color(QPalette::Base), palette.color(QPalette::Base));
  const double highlight = Luminance(palette.color(QPalette::Highlight).rgb());
  QVERIFY((Luminance(palette.color(QPalette::HighlightedText).rgb()) + 0.05) / (highlight + 0.05) >= 4.5);
}

void LookGuiTest::groupBoxFramesRunThroughTheirTitles() {
  WithMainWindow([](QWidget* main) {
    for (QGroupBox* box : main->findChildren<QGroupBox*>()) {
      const QImage image = box->grab().toImage().scaled(box->size());
      int frame = 0;  // the first row at the right of the title that is not the background
      while (frame < image.height() && image.pixel(image.width() - 6, frame) == image.pixel(image.width() - 6, 0))
        ++frame;
      int first = image.height(), last = -1;  // the rows of the title's letters
      for (int y = 0; y < image.height(); ++y)
        for (int x = 8; x < 8 + box->fontMetrics().horizontalAdvance(box->title()); ++x)
          if (qGray(image.pixel(x, y)) < 100) first = std::min(first, y), last = std::max(last, y);
      QVERIFY2(first < frame && frame < last, qPrintable(box->title()));
    }
  });
}

void LookGuiTest::fieldsShowTheirNumbersWholeAndTheirStartAfterTheFocus() {
  WithMainWindow([](QWidget* main) {
    for (const auto& [id, text] : std::vector<std::pair<int, QString>>{
             {res::IDC_HEIGHT, "61.6724"}, {res::IDC_HEIGHT, "-43.2803"}, {res::IDC_AZIMUTH, "359.996"}}) {
      QLineEdit* field = Field(main, id);
      field->setText(text);
      const int width = field->width();
      field->resize(200, field->height());  // where the text ends when nothing cuts it
      const int end = TextEnd(field);
      field->resize(width, field->height());
      QVERIFY2(end < width - 1, qPrintable(text));
    }
    Field(main, res::IDC_LAT_DEGREES)->setFocus();
    Field(main, res::IDC_LAT_DEGREES)->setText("-33.8688123");
    Field(main, res::IDC_HEIGHT)->setFocus();
    QCOMPARE(Field(main, res::IDC_LAT_DEGREES)->cursorPosition(), 0);
  });
}

// F1 in the main window, then in the year window, opens the About box; every window is then closed.
void LookGuiTest::f1OpensTheAboutBoxFromTheMainAndTheYearWindow() {
  QStringList seen;  // the captions of the windows, in order
  bool pictureDrawn = false;
  WhenActive([&](QWidget* top) {
    if (!seen.isEmpty() && seen.last() == top->windowTitle()) return false;
    seen << top->windowTitle();
    const int n = static_cast<int>(seen.size());
    if (n == 2) {  // the About box: its picture drawn at the screen's resolution, not an enlarged copy
      const qreal ratio = top->devicePixelRatioF();
      for (QLabel* label : top->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
          pictureDrawn = label->pixmap().toImage() == res::LoadBitmap(res::IDB_PICTURE, ratio);
      }
    }
    // After this step: a window that a key opens runs an event loop of its own.
    QTimer::singleShot(0, top, [top, n] {
      if (n == 3) return top->findChild<QPushButton*>(QString("control_%1").arg(res::IDC_YEAR_COURSE))->click();
      QTest::keyClick(top->focusWidget() ? top->focusWidget() : top, n == 1 || n == 4 ? Qt::Key_F1 : Qt::Key_Escape);
    });
    return n >= 7;
  });
  QTimer::singleShot(8000, [] {  // not to wait for ever where a window did not come
    while (auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget())) w->reject();
  });
  app::CSunApp app(backend, "/usr/bin/tagvaroskop");
  app::CDayCourseDlg(app).DoModal();
  QVERIFY2(seen.size() >= 5, qPrintable(seen.join(" | ")));
  QCOMPARE(seen[1], QString("Info über Tagvaroskop"));
  QCOMPARE(seen[4], QString("Info über Tagvaroskop"));
  QVERIFY(pictureDrawn);
}

QTEST_MAIN(LookGuiTest)
#include "look_gui_test.moc"
