// The real Qt widgets of the main dialog, driven on the offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <functional>

#include "app/day_course_dlg.h"
#include "app/sun_app.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/termination.h"
#include "res/ids.h"

namespace {

// Calls `step` with the first widget that `find` returns, looking every 5 ms.
template <typename Widget>
void When(std::function<Widget*()> find, std::function<void(Widget*)> step) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [=] {
    Widget* found = find();
    if (found == nullptr) return;
    timer->stop();
    timer->deleteLater();
    step(found);
  });
  timer->start();
}

// Calls `step` once the innermost modal window is a message box (or, without one, a dialog).
void WhenModal(bool messageBox, std::function<void(QWidget*)> step) {
  When<QWidget>(
      [messageBox]() -> QWidget* {
        QWidget* top = QApplication::activeModalWidget();
        return top && (qobject_cast<QMessageBox*>(top) != nullptr) == messageBox ? top : nullptr;
      },
      std::move(step));
}

void WhenPopup(std::function<void(QMenu*)> step) {
  When<QMenu>([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, std::move(step));
}

QLineEdit* Edit(QWidget* dialog, int id) { return dialog->findChild<QLineEdit*>(QString("control_%1").arg(id)); }

}  // namespace

class MainWindowGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void typingAndEnterCalculateThenAnInvalidEntryShowsItsMessageOnce();
  void theYearButtonOpensTheYearWindowAndAClickFillsItsFields();
  void theKeyboardOpensTheSystemMenuAndItsAboutBox_data();
  void theKeyboardOpensTheSystemMenuAndItsAboutBox();
  void enterOnThePatternFiltersAndTheNextNameIsSaved();
  void terminationClosesAMessageBoxAndTheDialog();  // last: the program ends after it

 private:
  int RunMainDialog() {
    app::CSunApp app(backend, "/usr/bin/tagvaroskop");
    app::CDayCourseDlg dlg(app);
    return dlg.DoModal();
  }
  platform::QtBackend backend;
};

// Typing and Enter calculate and keep the window open; an invalid entry then shows its box once
// and gets the focus back with its text selected.
void MainWindowGuiTest::typingAndEnterCalculateThenAnInvalidEntryShowsItsMessageOnce() {
  QString heightBefore, heightAfter, text, caption, selected, pasted;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int boxes = 0;
  bool stillOpen = false, focusBack = false;
  WhenModal(false, [&](QWidget* dialog) {
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->windowTitle(), QString("Tagvaroskop im Verlauf des Tages"));
    QCOMPARE(dialog->size(), QSize(607, 326));
    heightBefore = Edit(dialog, res::IDC_HEIGHT)->text();
    QLineEdit* longitude = Edit(dialog, res::IDC_LON_DEGREES);  // a paste takes its first line
    QApplication::clipboard()->setText("13.5\r\n7");
    longitude->setCursorPosition(0);
    longitude->paste();
    pasted = longitude->text();
    QLineEdit* latitude = Edit(dialog, res::IDC_LAT_DEGREES);
    latitude->setFocus();
    latitude->selectAll();
    QTest::keyClicks(latitude, "-33");
    QTest::keyClick(latitude, Qt::Key_Return);
    heightAfter = Edit(dialog, res::IDC_HEIGHT)->text();
    stillOpen = dialog->isVisible();
    latitude->selectAll();
    QTest::keyClicks(latitude, "89.5");
    WhenModal(true, [&](QWidget* top) {
      auto* box = qobject_cast<QMessageBox*>(top);
      ++boxes;
      text = box->text();
      caption = box->windowTitle();
      icon = box->icon();
      box->button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(latitude, Qt::Key_Return);
    // Once the box is closed, the focus comes back (and the box does not come up again).
    focusBack = QTest::qWaitFor(
        [&] { return dialog->focusWidget() == latitude && QApplication::activeModalWidget() == dialog; });
    selected = latitude->selectedText();
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  QCOMPARE(RunMainDialog(), platform::IDCANCEL);
  QVERIFY(stillOpen);
  QVERIFY(!heightBefore.isEmpty());  // the real clock: any value
  QVERIFY(heightAfter != heightBefore);
  QCOMPARE(boxes, 1);
  QCOMPARE(text, QString("Geben Sie bitte eine Zahl zwischen -89 und 89 ein."));
  QCOMPARE(caption, QString("tagvaroskop"));
  QCOMPARE(icon, QMessageBox::Warning);
  QVERIFY(focusBack);
  QCOMPARE(selected, QString("89.5"));
  QCOMPARE(pasted, QString("13.57"));  // before the old "7"
}

// The Tab stops of a window in order, from its first: the dialog's controls, and the year curve.
QStringList TabStops(QWidget* window) {
  QStringList stops;
  for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
    if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) stops << w->objectName();
  return stops;
}

QStringList TemplateStops(const platform::DialogWindow* window) {
  QStringList stops;
  for (const platform::ControlTemplate& c : const_cast<platform::DialogWindow*>(window)->Dialog().Template().controls)
    if (platform::IsTabStop(c.kind)) stops << QString("control_%1").arg(c.id);
  return stops;
}

// What a pick shows: the six fields, the description and the client's pixels.
struct Shown {
  QStringList fields;
  QString description;
  QImage image;
  bool operator==(const Shown&) const = default;
};

Shown ShownIn(QWidget* year) {
  QTest::qWait(20);  // the paint the pick asked for
  Shown shown;
  for (int id = res::IDC_PICK_SUN_HOURS; id <= res::IDC_PICK_CHANGE_SECONDS; ++id)
    shown.fields << Edit(year, id)->text();
  shown.description = year->findChild<QWidget*>("client")->accessibleDescription();
  shown.image = static_cast<platform::DialogWindow*>(year)->Dialog().Client().Image().copy();
  return shown;
}

// The year button opens the year window; a click on its curve fills its fields and leaves the
// focus where it was, and the keys on the curve pick as that click. The Tab stops of both windows
// are the dialog's controls in its order, and then the curve.
void MainWindowGuiTest::theYearButtonOpensTheYearWindowAndAClickFillsItsFields() {
  QString caption, hoursBefore;
  QStringList mainStops, yearStops, mainExpected, yearExpected;
  Shown clicked, byKeys;
  bool focusKept = false;
  WhenModal(false, [&](QWidget* main) {
    QVERIFY(QTest::qWaitForWindowExposed(main));
    mainStops = TabStops(main);
    mainExpected = TemplateStops(static_cast<platform::DialogWindow*>(main));
    WhenModal(false, [&, main](QWidget* year) {
      if (year == main) return;
      QVERIFY(QTest::qWaitForWindowExposed(year));
      yearStops = TabStops(year);
      yearExpected = TemplateStops(static_cast<platform::DialogWindow*>(year)) << "keyboard_area";
      caption = year->windowTitle();
      hoursBefore = Edit(year, res::IDC_PICK_SUN_HOURS)->text();
      QWidget* before = QApplication::focusWidget();
      QTest::mouseClick(year->findChild<QWidget*>("client"), Qt::LeftButton, {}, QPoint(101, 150));
      QWidget* curve = year->findChild<QWidget*>("keyboard_area");
      focusKept = QApplication::focusWidget() == before;
      clicked = ShownIn(year);
      while (QApplication::focusWidget() != curve && yearStops.size() < 40)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QTest::keyClick(curve, Qt::Key_Home);
      for (int k = 0; k < 76; ++k) QTest::keyClick(curve, Qt::Key_Right);
      QTest::keyClick(curve, Qt::Key_Left);
      byKeys = ShownIn(year);
      QTest::keyClick(year, Qt::Key_Escape);
      QTimer::singleShot(0, main, [main] { QTest::keyClick(main, Qt::Key_Escape); });
    });
    main->findChild<QPushButton*>(QString("control_%1").arg(res::IDC_YEAR_COURSE))->click();
  });
  RunMainDialog();
  QCOMPARE(caption, QString("Tageslänge im Jahresverlauf   Für Details auf die Kurve klicken!"));
  QCOMPARE(hoursBefore, QString("0"));
  QVERIFY(clicked.fields[0].toInt() >= 9 && clicked.fields[0].toInt() <= 14);  // mid-March
  QVERIFY(focusKept);
  QCOMPARE(mainStops, mainExpected);
  QCOMPARE(yearStops, yearExpected);
  // The keys lead to the clicked column (Home, 76 days on, one back) and show what the click did
  // (every column: year_dialog_test).
  QVERIFY(byKeys == clicked);
}

void MainWindowGuiTest::terminationClosesAMessageBoxAndTheDialog() {
  platform::CloseWindowsOnTermination();
  bool boxShown = false;
  WhenModal(false, [&](QWidget* dialog) {
    QLineEdit* year = Edit(dialog, res::IDC_YEAR);
    year->setFocus();
    year->selectAll();
    QTest::keyClicks(year, "2101");
    WhenModal(true, [&](QWidget*) {
      boxShown = true;
      std::raise(SIGTERM);
    });
    QTest::keyClick(year, Qt::Key_Return);
  });
  QCOMPARE(RunMainDialog(), platform::IDCANCEL);
  QVERIFY(boxShown);
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void MainWindowGuiTest::theKeyboardOpensTheSystemMenuAndItsAboutBox_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("focus");  // the control that has the focus
  QTest::newRow("alt_space_in_the_hour_field") << int(Qt::Key_Space) << int(Qt::AltModifier) << res::IDC_HOUR;
  QTest::newRow("shift_f10_in_the_height_field") << int(Qt::Key_F10) << int(Qt::ShiftModifier) << res::IDC_HEIGHT;
  QTest::newRow("menu_key_in_the_year_field") << int(Qt::Key_Menu) << 0 << res::IDC_YEAR;
}

void MainWindowGuiTest::theKeyboardOpensTheSystemMenuAndItsAboutBox() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, focus);
  QString lastItem, aboutCaption;
  WhenModal(false, [&](QWidget* main) {
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QLineEdit* field = Edit(main, focus);
    field->setFocus();
    WhenPopup([&, main](QMenu* menu) {
      lastItem = menu->actions().last()->text();
      WhenModal(false, [&, main](QWidget* about) {
        if (about == main) return;
        aboutCaption = about->windowTitle();
        QTest::keyClick(about, Qt::Key_Return);
        QTimer::singleShot(0, main, [main] { QTest::keyClick(main, Qt::Key_Escape); });
      });
      menu->setActiveAction(menu->actions().last());
      QTest::keyClick(menu, Qt::Key_Return);
    });
    if (key == Qt::Key_Menu) {  // what the window system makes of the Menu key
      QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0), field->mapToGlobal(QPoint(0, 0)));
      QApplication::sendEvent(field, &menuKey);
    } else {
      QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }
    // Without a menu the dialog would wait for ever: it ends once no menu came.
    if (!QTest::qWaitFor([&] { return !lastItem.isEmpty(); })) QTest::keyClick(main, Qt::Key_Escape);
  });
  RunMainDialog();
  QCOMPARE(lastItem, QString("Inf&o über Tagvaroskop..."));
  QCOMPARE(aboutCaption, QString("Info über Tagvaroskop"));
}

void MainWindowGuiTest::enterOnThePatternFiltersAndTheNextNameIsSaved() {
  QTemporaryDir folder;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  bool openAfterPattern = false;
  WhenModal(false, [&](QWidget* main) {
    QVERIFY(QTest::qWaitForWindowExposed(main));
    WhenModal(false, [&, main](QWidget* box) {
      if (box == main) return;
      QLineEdit* name = box->findChild<QLineEdit*>("fileNameEdit");
      QCOMPARE(name->text(), QString("*.ort"));
      QTest::keyClick(name, Qt::Key_Return);  // as a person does, with the pattern still there
      QCoreApplication::sendPostedEvents();   // whatever the Enter set in motion
      QCoreApplication::processEvents();
      openAfterPattern = box->isVisible();
      name->setText("Köln");
      QTest::keyClick(name, Qt::Key_Return);
      QTimer::singleShot(0, main, [main] { QTest::keyClick(main, Qt::Key_Escape); });
    });
    main->findChild<QPushButton*>(QString("control_%1").arg(res::IDC_SAVE_LOCATION))->click();
  });
  RunMainDialog();
  QDir::setCurrent(previous);
  QVERIFY(openAfterPattern);
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Köln.ort"});
}

QTEST_MAIN(MainWindowGuiTest)
#include "main_window_gui_test.moc"
