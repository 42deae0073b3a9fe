// SPDX-License-Identifier: GPL-3.0-or-later
// Errors raised in handlers reach the user once, as their own text, and never unwind through Qt.
#include "app/GuardedCall.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QObject>
#include <QStringList>

#include "support/ErrorRecordingTest.h"

namespace {

class GuardedCallTest : public ErrorRecordingTest {};

TEST_F(GuardedCallTest, ErrorEndsTheBodyAndShowsItsOwnText) {
  bool reachedEnd = false;
  const bool ok = Guarded([&] {
    throw EError(QStringLiteral("Axis Minimum Value must be <= Maximum"));
    reachedEnd = true;
  });
  EXPECT_FALSE(ok);
  EXPECT_FALSE(reachedEnd);
  EXPECT_EQ(Shown, QStringList{QStringLiteral("Axis Minimum Value must be <= Maximum")});
}

TEST_F(GuardedCallTest, BodyWithoutErrorShowsNothing) {
  int runs = 0;
  EXPECT_TRUE(Guarded([&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(Shown.isEmpty());
}

TEST_F(GuardedCallTest, OtherExceptionsAreShownToo) {
  EXPECT_FALSE(Guarded([] { throw std::out_of_range("index 7 out of range"); }));
  EXPECT_FALSE(Guarded([] { throw 42; }));
  EXPECT_EQ(Shown, (QStringList{QStringLiteral("index 7 out of range"), QStringLiteral("Unknown error")}));
}

TEST_F(GuardedCallTest, ErrorWhileABoxIsOpenIsDropped) {
  // The presenter stands for the open box: a tick that fails while it is open must not stack
  // a second box on top of it.
  QStringList outer;
  SetErrorPresenter([&](const QString& text) {
    outer << text;
    EXPECT_FALSE(Guarded([] { throw EError(std::string("second")); }));
  });
  EXPECT_FALSE(Guarded([] { throw EError(std::string("first")); }));
  EXPECT_EQ(outer, QStringList{QStringLiteral("first")});

  // Once the box is closed the next error is shown again.
  EXPECT_FALSE(Guarded([] { throw EError(std::string("third")); }));
  EXPECT_EQ(outer, (QStringList{QStringLiteral("first"), QStringLiteral("third")}));
}

TEST_F(GuardedCallTest, PresenterThatFailsDoesNotBlockLaterErrors) {
  int calls = 0;
  SetErrorPresenter([&](const QString&) {
    ++calls;
    throw std::runtime_error("presenter broke");
  });
  EXPECT_FALSE(Guarded([] { throw EError(std::string("a")); }));
  EXPECT_FALSE(Guarded([] { throw EError(std::string("b")); }));
  EXPECT_EQ(calls, 2);
}

TEST_F(GuardedCallTest, WithoutPresenterAMessageBoxShowsTheTextUntilClosed) {
  SetErrorPresenter({});
  // The box does not block the failing handler: ShowErrorBox returns with the box open.
  ShowErrorBox(QStringLiteral("Invalid floating point value"));
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->windowTitle(), QStringLiteral("HalvoranRadiation"));
  EXPECT_EQ(box->text(), QStringLiteral("Invalid floating point value"));

  // A second error while this box is open opens no other one.
  ShowErrorBox(QStringLiteral("flood"));
  EXPECT_EQ(QApplication::activeModalWidget(), box);
  EXPECT_EQ(box->text(), QStringLiteral("Invalid floating point value"));

  // Once it is closed, the next error gets a box of its own.
  box->accept();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ShowErrorBox(QStringLiteral("next"));
  auto* next = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->text(), QStringLiteral("next"));
  next->accept();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// An event handler that forgot Guarded: the application's notify is the last resort.
class ThrowingObject : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EError(std::string("unwrapped handler failed"));
    return QObject::event(e);
  }
};

TEST_F(GuardedCallTest, NotifyCatchesWhatEscapesAnUnwrappedHandler) {
  // The shared test main made a plain QApplication, so the override's body is driven on it.
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  ThrowingObject target;
  QEvent failing(QEvent::User);
  EXPECT_FALSE(GuardedNotify(*app, &target, &failing));
  EXPECT_EQ(Shown, QStringList{QStringLiteral("unwrapped handler failed")});

  Shown.clear();
  QEvent harmless(QEvent::Type(QEvent::User + 1));
  GuardedNotify(*app, &target, &harmless);
  EXPECT_TRUE(Shown.isEmpty());
}

}  // namespace
