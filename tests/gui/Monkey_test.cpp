// SPDX-License-Identifier: GPL-3.0-or-later
// The monkey: the real main window, its timer running, through thousands of random user actions
// from a fixed seed (printed; HALVORAN_MONKEY_SEED replaces it to replay or vary a run): every
// menu item with its dialog filled from hostile texts and closed by OK, Cancel or the close box,
// drags of the charge, zoom rectangles and their undo, pans, the wheel, resizes, run, pause and
// single steps. After every action the program must still hold together: no error but its own
// refusals, a node table of the size in force with only finite nodes, marks that tell the truth.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QList>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <deque>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "MainFormDriver.h"

namespace {

// Enough to reach every dialog many times over; sized to the sanitizer build's time.
constexpr int MonkeyActions = 3000;
constexpr unsigned DefaultSeed = 20261208;
// Rounds of typing and clicking a dialog gets before the hand closes it by force: a dialog that
// refuses every text stays open, and the monkey must move on.
constexpr int MaxDialogRounds = 8;

// What a careless or hostile user types into a number box, and a few sane values so that some
// dialogs are accepted too.
const char* const HostileTexts[] = {
    "", " ", "   ", "abc", "#?!", "0,5", "1e400", "-1e400", "-0", "nan", "NaN", "inf", "-inf",
    "99999999999999999999", "1e308", "1.7976931348623157e308", "4.9e-324", "1e-400", "0", "0.0",
    "-1", "-0.5", "-1e6", "-2147483648", "2147483647", "2147483648", "1.2.3", "--5", "0x10",
    "5 5", " 7", "7 ", "1e", "e5", ".", "+", "0.000000001", "1000000", "0.5", "0.9", "0.2",
    "0.05", "45", "100", "20", "10", "2", "5", "300", "1.2", "0.999"};

// Texts that only a fault inside the program would produce; the program's own refusals say
// what is wrong with the value.
bool LooksLikeAFault(const QString& text) {
  static const char* const faults[] = {"Unknown error", "std::",  "bad_alloc", "basic_string",
                                       "vector",        "index out of", "nullptr"};
  if (text.trimmed().isEmpty()) return true;
  for (const char* fault : faults)
    if (text.contains(QLatin1String(fault), Qt::CaseInsensitive)) return true;
  return false;
}

// Sends a mouse event the way the window system would, buttons held included.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

class MonkeyTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    const QByteArray chosen = qgetenv("HALVORAN_MONKEY_SEED");
    Seed = chosen.isEmpty() ? DefaultSeed : static_cast<unsigned>(chosen.toULong());
    std::cout << "monkey seed: " << Seed << " (set HALVORAN_MONKEY_SEED to change it)"
              << std::endl;
    RecordProperty("seed", std::to_string(Seed));
    Random.seed(Seed);
  }

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(Random); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(Random); }
  QString HostileText() {
    return QString::fromUtf8(HostileTexts[Pick(static_cast<int>(std::size(HostileTexts)))]);
  }

  void Note(const std::string& what) {
    Log.push_back(what);
    if (Log.size() > 12) Log.pop_front();
  }
  std::string RecentActions() const {
    std::ostringstream out;
    for (const std::string& line : Log) out << "\n  " << line;
    return out.str();
  }

  // ---- The hand on whatever modal window is open ----

  // Called every few milliseconds, from whatever event loop runs: acts on the modal window on
  // top, if there is one.
  void ActOnModal() {
    // A popup (a button's drop-down menu) runs its own loop: the hand closes it.
    if (QWidget* popup = QApplication::activePopupWidget()) {
      Note("  popup closed");
      popup->close();
      return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    // A window being acted on may open another (a warning over a dialog): the hand turns to the
    // new one and comes back to the first when it is gone.
    if (!modal || !modal->isVisible() || ActingOn.contains(modal)) return;
    ActingOn.append(modal);
    const QPointer<QWidget> alive(modal);
    if (++Rounds[modal] > MaxDialogRounds) {
      Note("  closed by force: " + modal->windowTitle().toStdString());
      if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
      else
        modal->close();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      Seen << box->text();
      Note("  message box: " + box->text().toStdString());
      if (Chance(0.5))
        QTest::keyClick(box, Qt::Key_Return);
      else
        box->close();
    } else if (qobject_cast<QFileDialog*>(modal)) {
      // The monkey writes no files where it pleases.
      Note("  file dialog cancelled");
      qobject_cast<QFileDialog*>(modal)->reject();
    } else {
      FillAndClose(*modal);
    }
    ActingOn.removeAll(modal);
    if (!alive || !alive->isVisible()) Rounds.erase(modal);
  }

  void FillAndClose(QWidget& dialog) {
    const std::string title = dialog.windowTitle().toStdString();
    for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
      if (!box->isVisible() || !box->isEnabled() || !Chance(0.7)) continue;
      if (box->isEditable()) {
        const QString text = HostileText();
        box->lineEdit()->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(box->lineEdit(), text);
        Note("  " + title + " " + box->objectName().toStdString() + " := \"" +
             text.toStdString() + "\"");
        if (Chance(0.15)) QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
      } else if (box->count() > 0) {
        box->setCurrentIndex(Pick(box->count()));
      }
    }
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
      if (qobject_cast<QComboBox*>(edit->parentWidget()) || !edit->isVisible() ||
          !edit->isEnabled() || edit->isReadOnly() || !Chance(0.5))
        continue;
      edit->setFocus();
      edit->selectAll();
      QTest::keyClicks(edit, HostileText());
    }
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
      const bool choice = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
      if (choice && button->isVisible() && button->isEnabled() && Chance(0.3))
        QTest::mouseClick(button, Qt::LeftButton);
    }
    for (QSlider* slider : dialog.findChildren<QSlider*>()) {
      if (!slider->isVisible() || !Chance(0.6)) continue;
      const Qt::Key key = Chance(0.5) ? Qt::Key_Left : Qt::Key_Right;
      for (int i = Pick(12); i > 0; --i) QTest::keyClick(slider, key);
    }
    if (!dialog.isVisible()) return;  // a check box or Enter may have closed it

    switch (Pick(6)) {
      case 0:
      case 1: {
        QPushButton* ok = DefaultButton(dialog);
        Note("  " + title + ": OK");
        if (ok)
          QTest::mouseClick(ok, Qt::LeftButton);
        else
          QTest::keyClick(&dialog, Qt::Key_Return);
        break;
      }
      case 2:
        Note("  " + title + ": Enter");
        QTest::keyClick(&dialog, Qt::Key_Return);
        break;
      case 3:
        Note("  " + title + ": Esc");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
      case 4:
        Note("  " + title + ": close box");
        dialog.close();
        break;
      default: {
        // Any other button: Default, Set Default, the zoom view's own.
        std::vector<QPushButton*> buttons;
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
          if (b->isVisible() && b->isEnabled()) buttons.push_back(b);
        if (buttons.empty()) break;
        QPushButton* b = buttons[Pick(static_cast<int>(buttons.size()))];
        Note("  " + title + ": button " + b->text().toStdString());
        QTest::mouseClick(b, Qt::LeftButton);
        break;
      }
    }
  }

  static QPushButton* DefaultButton(QWidget& dialog) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
      if (b->isDefault() && b->isVisible()) return b;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
      if (b->text().remove(QLatin1Char('&')) == QStringLiteral("OK")) return b;
    return nullptr;
  }

  // ---- Actions ----

  // Every item of the menu as it stands, except what ends the program; submenus are opened
  // through their items.
  std::vector<QAction*> MenuItems() const {
    std::vector<QAction*> items;
    std::vector<QMenu*> menus;
    for (QAction* top : Form->menuBar()->actions()) {
      if (top->menu())
        menus.push_back(top->menu());
      else
        items.push_back(top);
    }
    while (!menus.empty()) {
      QMenu* menu = menus.back();
      menus.pop_back();
      for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu())
          menus.push_back(a->menu());
        else
          items.push_back(a);
      }
    }
    std::vector<QAction*> usable;
    for (QAction* a : items) {
      const QString name = a->objectName();
      const bool ends = name.contains(QLatin1String("Exit"), Qt::CaseInsensitive) ||
                        name.contains(QLatin1String("Quit"), Qt::CaseInsensitive) ||
                        a->menuRole() == QAction::QuitRole;
      if (!ends) usable.push_back(a);
    }
    return usable;
  }

  void ChooseMenuItem() {
    const std::vector<QAction*> items = MenuItems();
    QAction* item = items[Pick(static_cast<int>(items.size()))];
    Note("menu " + item->objectName().toStdString() + " (" + item->toolTip().toStdString() + ")" +
         (item->isEnabled() ? "" : ", disabled"));
    // A disabled item cannot be picked by a user.
    if (!item->isEnabled()) return;
    item->trigger();
  }

  QPoint RandomPixel() {
    const QWidget* chart = Form->Chart1;
    return {Pick(std::max(chart->width(), 1)), Pick(std::max(chart->height(), 1))};
  }

  // Press, a few moves with time for ticks between them, release.
  void Drag(Qt::MouseButton button, QPoint from, QPoint to, int steps) {
    QWidget* chart = Form->Chart1;
    Cursor = from;
    SendMouse(chart, QEvent::MouseButtonPress, from, button, button);
    for (int i = 1; i <= steps; ++i) {
      // The charge may sit far outside the view (2^31 pixels away): step in floating point.
      const double f = static_cast<double>(i) / steps;
      Cursor = QPoint(static_cast<int>(std::lround(from.x() + (double(to.x()) - from.x()) * f)),
                      static_cast<int>(std::lround(from.y() + (double(to.y()) - from.y()) * f)));
      SendMouse(chart, QEvent::MouseMove, Cursor, Qt::NoButton, button);
      QTest::qWait(Pick(4));
    }
    SendMouse(chart, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
  }

  void MouseOnThePlot() {
    const QPoint p = RandomPixel();
    switch (Pick(7)) {
      case 0:
      case 1: {
        const TVector2 charge = State.FieldSimulation.ChargePos;
        const QPoint marker(Form->Chart1->ValueToPixelX(charge.X),
                            Form->Chart1->ValueToPixelY(charge.Y));
        Note("drag the charge from (" + std::to_string(marker.x()) + ", " +
             std::to_string(marker.y()) + ")");
        Drag(Qt::LeftButton, marker, RandomPixel(), 1 + Pick(8));
        break;
      }
      case 2: {
        const QPoint to = p + QPoint(17 + Pick(300), 17 + Pick(200));
        Note("zoom rectangle");
        Drag(Qt::LeftButton, p, to, 2);
        break;
      }
      case 3: {
        Note("undo drag");
        Drag(Qt::LeftButton, p, p - QPoint(20 + Pick(100), 20 + Pick(100)), 2);
        break;
      }
      case 4: {
        Note("pan");
        Drag(Qt::RightButton, p, RandomPixel(), 1 + Pick(5));
        break;
      }
      case 5: {
        Note("wheel");
        const int notches = (Chance(0.5) ? 1 : -1) * (1 + Pick(3));
        QWheelEvent wheel(QPointF(p), QPointF(Form->Chart1->mapToGlobal(p)), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Form->Chart1, &wheel);
        break;
      }
      default: {
        Note("click");
        const Qt::MouseButton button = Chance(0.7) ? Qt::LeftButton : Qt::RightButton;
        SendMouse(Form->Chart1, QEvent::MouseButtonPress, p, button, button);
        SendMouse(Form->Chart1, QEvent::MouseButtonRelease, p, button, Qt::NoButton);
        break;
      }
    }
  }

  // A button of any window on screen that is not modal: run, pause (one step when paused), and
  // those of the zoom view.
  void ClickAButton() {
    std::vector<QAbstractButton*> buttons;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!top->isVisible() || top->isModal()) continue;
      for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->isEnabled()) buttons.push_back(b);
    }
    if (buttons.empty()) return;
    QAbstractButton* b = buttons[Pick(static_cast<int>(buttons.size()))];
    Note("button " + b->objectName().toStdString() + " of " +
         b->window()->objectName().toStdString());
    QTest::mouseClick(b, Qt::LeftButton);
  }

  void Resize() {
    const QSize size(120 + Pick(1500), 80 + Pick(1000));
    Note("resize to " + std::to_string(size.width()) + " x " + std::to_string(size.height()));
    Form->resize(size);
  }

  void Act() {
    const int roll = Pick(100);
    if (roll < 30)
      ChooseMenuItem();
    else if (roll < 65)
      MouseOnThePlot();
    else if (roll < 80)
      ClickAButton();
    else if (roll < 85)
      Resize();
    else
      Note("wait");
    QTest::qWait(Pick(6));
  }

  // ---- What must hold after every action ----

  void ExpectSound(int action) {
    const std::string where = "after action " + std::to_string(action) + ", seed " +
                              std::to_string(Seed) + "; last actions:" + RecentActions();
    for (const QString& text : Shown) {
      if (!LooksLikeAFault(text)) continue;
      ADD_FAILURE() << "error box \"" << text.toStdString() << "\" " << where;
      Failed = true;
    }
    for (const QString& text : Seen) {
      if (!LooksLikeAFault(text)) continue;
      ADD_FAILURE() << "message box \"" << text.toStdString() << "\" " << where;
      Failed = true;
    }
    Shown.clear();
    Seen.clear();

    const TFieldSimulation& field = State.FieldSimulation;
    if (field.Nodes.size() != static_cast<std::size_t>(State.ISize) + 1) {
      ADD_FAILURE() << field.Nodes.size() << " rows for ISize " << State.ISize << " " << where;
      Failed = true;
      return;
    }
    for (const auto& row : field.Nodes) {
      if (row.size() != static_cast<std::size_t>(State.JSize) + 1) {
        ADD_FAILURE() << row.size() << " lines for JSize " << State.JSize << " " << where;
        Failed = true;
        return;
      }
      for (const TFieldNode& n : row) {
        if (std::isfinite(n.X) && std::isfinite(n.Y) && std::isfinite(n.VX) &&
            std::isfinite(n.VY) && std::isfinite(n.EmitX) && std::isfinite(n.EmitY))
          continue;
        ADD_FAILURE() << "a node is not finite " << where;
        Failed = true;
        return;
      }
    }

    const TMainMenu& menu = Form->MainMenu1;
    static const std::pair<int, const char*> kinds[] = {
        {tmMouse, "MnuByMouse"},         {tmStraightLine, "mnuStraightLine"},
        {tmDipole, "MnuDipole"},         {tmCircle, "MnuCircle"},
        {tmRaceTrack, "mnuRacetrack"},   {tmUndulator, "MnuUndulator"},
        {tmBending, "mnuBending"}};
    for (const auto& [mode, item] : kinds) {
      if (menu.IsChecked(item) == (State.TrajectoryMode == mode)) continue;
      ADD_FAILURE() << item << " marked " << menu.IsChecked(item) << " in mode "
                    << State.TrajectoryMode << " " << where;
      Failed = true;
    }
    static const std::pair<TModelSizePreset, const char*> sizes[] = {
        {ModelSizeLarge, "MnuMdlLarge"},
        {ModelSizeMedium, "MnuMdlMedium"},
        {ModelSizeSmall, "MnuMdlSmall"}};
    int marked = menu.IsChecked("MnuMdlCustom") ? 1 : 0;
    for (const auto& [size, item] : sizes) {
      if (!menu.IsChecked(item)) continue;
      ++marked;
      if (State.ISize == size.ISize && State.JSize == size.JSize) continue;
      ADD_FAILURE() << item << " marked with " << State.ISize << " x " << State.JSize << " "
                    << where;
      Failed = true;
    }
    if (marked != 1) {
      ADD_FAILURE() << marked << " model sizes marked " << where;
      Failed = true;
    }
    const std::pair<const char*, bool> options[] = {
        {"mnuPlotWaveFront", Form->Display().ShowWaveFronts},
        {"mnuPlotEFieldLines", Form->Display().ShowFieldLines},
        {"mnuPlotNodePoints", Form->Display().ShowNodePoints}};
    for (const auto& [item, on] : options) {
      if (menu.IsChecked(item) == on) continue;
      ADD_FAILURE() << item << " marked " << menu.IsChecked(item) << " with the option " << on
                    << " " << where;
      Failed = true;
    }
    if (Form->SpeedRunButton->isChecked() && !Form->StepPending() && !Form->Timer1->isActive()) {
      ADD_FAILURE() << "the run button is down but the animation stands " << where;
      Failed = true;
    }
  }

  unsigned Seed = DefaultSeed;
  std::mt19937 Random;
  std::deque<std::string> Log;
  QStringList Seen;  // texts of message boxes the dialogs opened themselves
  QPoint Cursor;
  QList<QWidget*> ActingOn;
  std::map<QWidget*, int> Rounds;
  bool Failed = false;
};

TEST_F(MonkeyTest, ThousandsOfRandomActionsLeaveTheProgramSound) {
  StartUp();
  Form->showNormal();
  Form->CursorSource = [this] { return Cursor; };
  // The print dialog is the platform's: in its place the monkey prints to a file now and then.
  QTemporaryDir dir;
  Form->RunPrintDialog = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("monkey.pdf")));
    return Chance(0.3);
  };
  QTimer hand;
  hand.setInterval(5);
  // Qt does not fire a timer again while its own handler runs, and a dialog acted on may open a
  // nested one from inside that handler: the hand acts from a fresh single shot each time.
  QObject::connect(&hand, &QTimer::timeout,
                   [this, &hand] { QTimer::singleShot(0, &hand, [this] { ActOnModal(); }); });
  hand.start();
  Form->MnuRunClick();

  for (int action = 1; action <= MonkeyActions && !Failed; ++action) {
    Act();
    ExpectSound(action);
  }
  hand.stop();
  Form->CursorSource = {};
  Form->RunPrintDialog = {};
}

}  // namespace
