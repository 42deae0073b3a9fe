// SPDX-License-Identifier: GPL-3.0-or-later
// The version window: its results for OK, Enter and the close box, Esc that does nothing, the web
// link that leaves it open, the greeting picture, the licence line in both languages, and its
// layout.
#include "dialogs/BetaInfo.h"

#include <QDesktopServices>
#include <QFontInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "dialogs/ModalResult.h"
#include "app/GuardedCall.h"
#include "app/JpegImage.h"
#include "app/Language.h"
#include "support/ErrorRecordingTest.h"

// Stands in for the web browser: records the addresses the desktop was asked to open.
class TUrlRecorder : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> Opened;

 public slots:
  void Open(const QUrl& url) { Opened << url; }
};

namespace {

class BetaInfoTest : public ErrorRecordingTest {
 protected:
  // Shows the window as the user would meet it, active, with OK holding the focus.
  static void ShowActive(TBetaVersionDlg& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }

  static void PressKey(TBetaVersionDlg& dialog, Qt::Key key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
    QTest::keyClick(target, key);
  }

  static double Scale() { return QGuiApplication::primaryScreen()->logicalDotsPerInch() / 96.0; }
  static int Scaled(int length) { return static_cast<int>(std::lround(length * Scale())); }
  static QRect Scaled(int left, int top, int width, int height) {
    return {Scaled(left), Scaled(top), Scaled(width), Scaled(height)};
  }
};

TEST_F(BetaInfoTest, OkButtonGivesOk) {
  TBetaVersionDlg dialog;
  ShowActive(dialog);
  QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.ModalResult(), mrOk);
}

TEST_F(BetaInfoTest, EnterGivesOk) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    TBetaVersionDlg dialog;
    ShowActive(dialog);
    PressKey(dialog, key);
    EXPECT_FALSE(dialog.isVisible()) << key;
    EXPECT_EQ(dialog.ModalResult(), mrOk) << key;
  }
}

// The window has no cancel button; Esc, on the window or on the link button, leaves it open, and
// OK afterwards still gives OK.
TEST_F(BetaInfoTest, EscDoesNothing) {
  TBetaVersionDlg dialog;
  ShowActive(dialog);
  PressKey(dialog, Qt::Key_Escape);
  QTest::keyClick(dialog.BitBtnHalvoranLab, Qt::Key_Escape);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
  EXPECT_EQ(dialog.ModalResult(), mrOk);
}

TEST_F(BetaInfoTest, CloseBoxGivesCancel) {
  TBetaVersionDlg dialog;
  ShowActive(dialog);
  EXPECT_TRUE(dialog.close());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.ModalResult(), mrCancel);
}

TEST_F(BetaInfoTest, ShowModalReturnsTheResultOfHowItWasClosed) {
  TBetaVersionDlg dialog;
  QTimer::singleShot(0, &dialog, [&] { QTest::mouseClick(dialog.OKBtn, Qt::LeftButton); });
  EXPECT_EQ(dialog.ShowModal(), mrOk);

  // Opened again from the help command, closed by the close box this time.
  QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);

  // From the help command too, Esc leaves it open; the close box then gives Cancel.
  QTimer::singleShot(0, &dialog, [&] {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTimer::singleShot(0, &dialog, [&] {
      EXPECT_TRUE(dialog.isVisible());
      dialog.close();
    });
  });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);

  QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(dialog.OKBtn, Qt::Key_Return); });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
}

TEST_F(BetaInfoTest, LinkButtonOpensTheAddressAndLeavesTheWindowOpen) {
  TUrlRecorder browser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "Open");
  {
    TBetaVersionDlg dialog;
    ShowActive(dialog);
    QTest::mouseClick(dialog.BitBtnHalvoranLab, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(browser.Opened.size(), 1);
    EXPECT_EQ(browser.Opened[0], QUrl(QString::fromLatin1(HalvoranLabAddress)));
    EXPECT_EQ(dialog.BitBtnHalvoranLab->text(), QString::fromLatin1(HalvoranLabAddress));

    // After the link, Enter still means OK, not another visit to the page.
    dialog.activateWindow();
    PressKey(dialog, Qt::Key_Return);
    EXPECT_EQ(browser.Opened.size(), 1);
    EXPECT_EQ(dialog.ModalResult(), mrOk);
  }
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  EXPECT_TRUE(Shown.isEmpty());
}

// No browser to hand the address to (the offscreen platform has none, as a machine set up
// without one): the click says so and names the address, and the window stays open.
TEST_F(BetaInfoTest, LinkButtonWithoutABrowserSaysSoWithTheAddress) {
  TBetaVersionDlg dialog;
  ShowActive(dialog);
  QTest::mouseClick(dialog.BitBtnHalvoranLab, Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(QString::fromLatin1(HalvoranLabAddress))) << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("browser"))) << Shown[0].toStdString();
}

TEST_F(BetaInfoTest, GreetingPictureIsDecodedAndShown) {
  TBetaVersionDlg dialog;
  dialog.show();
  const QPixmap pixmap = dialog.Image1->pixmap();
  ASSERT_FALSE(pixmap.isNull());
  EXPECT_EQ(pixmap.size(), QSize(601, 337));
  // Not a blank panel: the picture holds many colours, and they are those of our greeting file.
  const QImage shown = pixmap.toImage();
  QSet<QRgb> colours;
  for (int y = 0; y < shown.height(); y += 7)
    for (int x = 0; x < shown.width(); x += 7) colours.insert(shown.pixel(x, y));
  EXPECT_GT(colours.size(), 50);
  const QImage file = LoadJpeg(QStringLiteral(":/pictures/greeting.jpg")).Image;
  ASSERT_FALSE(file.isNull());
  EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), file);
  QCoreApplication::processEvents();
  EXPECT_TRUE(Shown.isEmpty());
}

TEST_F(BetaInfoTest, UnreadablePictureLeavesAnEmptyPanelAndIsToldOnce) {
  const QString path = QStringLiteral("/nonexistent/greeting.jpg");
  TBetaVersionDlg dialog(path, nullptr);
  EXPECT_TRUE(dialog.Image1->pixmap().isNull());
  EXPECT_TRUE(Shown.isEmpty()) << "told before the window is up";

  dialog.show();
  QTRY_COMPARE(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(path)) << Shown[0].toStdString();
  EXPECT_TRUE(dialog.isVisible());

  dialog.hide();
  dialog.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(Shown.size(), 1);
  QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
  EXPECT_EQ(dialog.ModalResult(), mrOk);
}

// Under the picture, a line says that the program is free software under the GPL, in the
// language of the session, and it is written again when the language changes.
TEST_F(BetaInfoTest, TheLicenceLineIsInTheLanguage) {
  TTranslations translations;
  translations.Install(TLanguage::Japanese);
  TBetaVersionDlg dialog;
  dialog.show();
  const QString english =
      QStringLiteral("Free software under the GNU General Public License, version 3 or later");
  const QString japanese =
      QString::fromUtf8("GNU 一般公衆ライセンス（バージョン 3 以降）によるフリーソフトウェア");
  const std::pair<TLanguage, QString> rows[] = {{TLanguage::Japanese, japanese},
                                                {TLanguage::English, english},
                                                {TLanguage::Japanese, japanese}};
  for (const auto& [language, text] : rows) {
    translations.Install(language);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dialog.LicenceText->text(), text) << LanguageCode(language).toStdString();
    // Whole on one line, below the picture and inside the window.
    EXPECT_TRUE(dialog.LicenceText->isVisible());
    EXPECT_LE(QFontMetrics(dialog.LicenceText->font()).horizontalAdvance(text),
              dialog.LicenceText->width());
    EXPECT_GE(dialog.LicenceText->y(), dialog.Image1->geometry().bottom());
    EXPECT_TRUE(dialog.rect().contains(dialog.LicenceText->geometry()));
  }
}

TEST_F(BetaInfoTest, CaptionsAndLayout) {
  TBetaVersionDlg dialog;
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Version Info."));
  EXPECT_EQ(dialog.size(), QSize(Scaled(625), Scaled(420)));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);

  EXPECT_EQ(dialog.Bevel1->geometry(), dialog.rect());
  EXPECT_NE(dialog.Bevel1->frameShape(), QFrame::NoFrame);

  EXPECT_EQ(dialog.StaticText1->text(), QStringLiteral("Halvoran Radiation"));
  EXPECT_EQ(dialog.StaticText1->pos(), QPoint(Scaled(48), Scaled(24)));
  const QFont title = dialog.StaticText1->font();
  EXPECT_TRUE(title.italic());
  EXPECT_EQ(title.pixelSize(), Scaled(21));
  EXPECT_EQ(title.family(), QStringLiteral("Arial"));
  EXPECT_EQ(dialog.StaticText1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  // The whole title is visible, not cut by its label.
  EXPECT_GE(dialog.StaticText1->width(), QFontMetrics(title).horizontalAdvance(dialog.StaticText1->text()));

  EXPECT_EQ(dialog.Image1->geometry(), Scaled(16, 56, 601, 337));
  EXPECT_EQ(dialog.LicenceText->geometry(), Scaled(16, 396, 601, 18));

  EXPECT_EQ(dialog.OKBtn->text(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.OKBtn->geometry(), Scaled(521, 22, 69, 23));
  EXPECT_TRUE(dialog.OKBtn->isDefault());

  EXPECT_EQ(dialog.BitBtnHalvoranLab->geometry(), Scaled(416, 360, 177, 25));
  const QFont link = dialog.BitBtnHalvoranLab->font();
  EXPECT_EQ(link.pixelSize(), Scaled(12));
  EXPECT_EQ(link.family(), QStringLiteral("Arial"));
  EXPECT_EQ(dialog.BitBtnHalvoranLab->palette().color(QPalette::ButtonText), QColor(Qt::blue));
  // The address fits on its button.
  EXPECT_LT(QFontMetrics(link).horizontalAdvance(dialog.BitBtnHalvoranLab->text()),
            dialog.BitBtnHalvoranLab->width() - 8);

  // Centred on the screen; the window frame's thickness is not known before the first show, so
  // the centre may be off by about that much.
  constexpr int FrameSlack = 4;
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(dialog.frameGeometry().center().x() - area.center().x()), FrameSlack);
  EXPECT_LE(std::abs(dialog.frameGeometry().center().y() - area.center().y()), FrameSlack);
}

// A laptop at twice its pixels has a free area of about 640 x 330 logical pixels, less than the
// window needs: it is then drawn smaller, whole and inside that area, its title bar included, so
// that the greeting, OK and the link can all be seen. Where it fits, it keeps its full size.
TEST_F(BetaInfoTest, OnASmallScreenTheWholeWindowIsDrawnSmallerInsideIt) {
  const struct {
    QRect Area;
    bool Full;
  } rows[] = {
      {QRect(0, 0, 1920, 1040), true},
      {QRect(0, 0, 640, 330), false},
      {QRect(100, 30, 500, 420), false},
  };
  TBetaVersionDlg dialog;
  const QSize full = dialog.size();
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.Area.width() << " x " << row.Area.height());
    dialog.FitInto(row.Area);
    EXPECT_EQ(dialog.size() == full, row.Full);
    // Room above for a title bar, as the window system adds one.
    EXPECT_TRUE(row.Area.adjusted(0, 20, 0, 0).contains(dialog.geometry()))
        << dialog.geometry().x() << ", " << dialog.geometry().y() << " "
        << dialog.geometry().width() << " x " << dialog.geometry().height();
    // Everything in the window, in the proportions of the full window.
    for (QWidget* part : {static_cast<QWidget*>(dialog.Image1), static_cast<QWidget*>(dialog.OKBtn),
                          static_cast<QWidget*>(dialog.BitBtnHalvoranLab)})
      EXPECT_TRUE(dialog.rect().contains(part->geometry())) << part->objectName().toStdString();
    EXPECT_NEAR(dialog.Image1->width() / static_cast<double>(dialog.width()), 601.0 / 625.0, 0.01);
    EXPECT_EQ(dialog.Bevel1->geometry(), dialog.rect());
    const QFont link = dialog.BitBtnHalvoranLab->font();
    EXPECT_LT(QFontMetrics(link).horizontalAdvance(dialog.BitBtnHalvoranLab->text()),
              dialog.BitBtnHalvoranLab->width() - 4);
    const QFontMetrics title(dialog.StaticText1->font());
    EXPECT_GE(dialog.StaticText1->width(), title.horizontalAdvance(dialog.StaticText1->text()));
  }
  // Shown on a screen where it fits, the window is at its full size again.
  dialog.show();
  EXPECT_EQ(dialog.size(), full);
}

}  // namespace

#include "BetaInfo_test.moc"
