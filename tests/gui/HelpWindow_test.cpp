// SPDX-License-Identifier: GPL-3.0-or-later
// The Help viewer: opened from the Help menu at the top of the page in the session's language,
// and from the undulator dialog's Help button at the undulator's section, beside the dialog and
// not blocked by it.
#include "views/HelpWindow.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWindow>

#include "MainFormDriver.h"
#include "dialogs/UndulatorSetup.h"

namespace {

// Counts the presses that reach a widget.
class TPressCounter : public QObject {
 public:
  int Presses = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) ++Presses;
    return QObject::eventFilter(watched, event);
  }
};

class HelpWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartUp();
    Form->MnuPauseClick();
  }
  // Whether the block's top line lies within the part of the page the viewer shows.
  static bool InView(const THelpWindow& help, const QTextBlock& block) {
    const QRectF rect = help.Browser->document()->documentLayout()->blockBoundingRect(block);
    const int top = help.Browser->verticalScrollBar()->value();
    const int bottom = top + help.Browser->viewport()->height();
    return rect.top() >= top - 1 && rect.top() + 10 <= bottom;
  }
};

TEST_F(HelpWindowTest, TheMenuOpensThePageOfTheLanguageAtItsTop) {
  const struct {
    TLanguage Language;
    const char* Title;
  } rows[] = {{TLanguage::English, "What the picture shows"}, {TLanguage::Japanese, "図の見方"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Title);
    Form->SetLanguage(row.Language);
    QCoreApplication::sendPostedEvents();
    Form->MainMenu1.Item("MnuHelpModel").trigger();
    THelpWindow* help = Form->HelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    EXPECT_TRUE(help->isWindow());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->windowTitle(), QString::fromUtf8(row.Title));
    EXPECT_EQ(help->PageShown(), THelpWindow::PageResource(row.Language));
    EXPECT_EQ(help->Browser->verticalScrollBar()->value(), 0);
    // The page itself, read as Markdown: its first line is its title as a heading.
    const QTextBlock first = help->Browser->document()->firstBlock();
    EXPECT_EQ(first.blockFormat().headingLevel(), 1);
    EXPECT_GT(help->Browser->document()->characterCount(), 2000);
    // The main window is not blocked meanwhile: the viewer is no modal dialog.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  // The English page always; the Japanese one where it is built in.
  EXPECT_EQ(THelpWindow::PageResource(TLanguage::English), ":/docs/model.md");
  EXPECT_EQ(THelpWindow::PageResource(TLanguage::Japanese),
            QFile::exists(":/docs/model.ja.md") ? ":/docs/model.ja.md" : ":/docs/model.md");
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(HelpWindowTest, TheUndulatorDialogsHelpOpensItAtTheUndulatorBesideTheDialog) {
  const bool japanesePage = QFile::exists(":/docs/model.ja.md");
  const struct {
    TLanguage Language;
    const char* Heading;
  } rows[] = {{TLanguage::English, "The undulator"},
              {TLanguage::Japanese, japanesePage ? "アンジュレータ" : "The undulator"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Heading);
    Form->SetLanguage(row.Language);
    bool opened = false;
    int presses = -1;
    WhenModal([&](QWidget& dialog) {
      ClickButton(dialog, "HelpBtn");
      THelpWindow* help = Form->HelpWindow();
      ASSERT_NE(help, nullptr);
      ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
      opened = true;
      EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
      const QTextBlock heading = help->HeadingOf(THelpSection::Undulator);
      ASSERT_TRUE(heading.isValid()) << "the page has no section on the undulator";
      EXPECT_EQ(heading.text(), QString::fromUtf8(row.Heading));
      EXPECT_GT(help->Browser->verticalScrollBar()->value(), 0);
      EXPECT_TRUE(InView(*help, heading));

      // A press as the window system delivers it reaches the viewer: the modal dialog does not
      // block it.
      TPressCounter counter;
      help->Browser->viewport()->installEventFilter(&counter);
      const QPoint middle =
          help->Browser->viewport()->mapTo(help, help->Browser->viewport()->rect().center());
      QTest::mouseClick(help->windowHandle(), Qt::LeftButton, Qt::NoModifier, middle);
      help->Browser->viewport()->removeEventFilter(&counter);
      presses = counter.Presses;
      ClickButton(dialog, "CancelBtn");
    });
    Form->MnuUndulatorClick();
    EXPECT_TRUE(opened);
    EXPECT_EQ(presses, 1);
    ASSERT_NE(Form->HelpWindow(), nullptr);
    EXPECT_TRUE(Form->HelpWindow()->isVisible()) << "the viewer stays after the dialog";

    // The menu's viewer is the same window, at the top again.
    Form->MainMenu1.Item("MnuHelpModel").trigger();
    EXPECT_EQ(Form->HelpWindow()->Browser->verticalScrollBar()->value(), 0);
  }
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

}  // namespace
