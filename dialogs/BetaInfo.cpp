// SPDX-License-Identifier: GPL-3.0-or-later
// The version window.
#include "dialogs/BetaInfo.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "dialogs/ModalResult.h"
#include "dialogs/Pictures.h"
#include "dialogs/ScreenFit.h"
#include "app/GuardedCall.h"
#include "app/JpegImage.h"

namespace {

// The window is laid out in pixels at 96 dots per inch; everything, fonts included, is
// multiplied by the screen's logical resolution over that.
constexpr double LayoutDpi = 96.0;

double Scale() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInch() / LayoutDpi : 1.0;
}

int Scaled(int length, double scale) { return static_cast<int>(std::lround(length * scale)); }

QRect Scaled(int left, int top, int width, int height, double scale) {
  return {Scaled(left, scale), Scaled(top, scale), Scaled(width, scale), Scaled(height, scale)};
}

QFont ArialFont(int pixelSize, double scale, bool italic) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(Scaled(pixelSize, scale));
  font.setItalic(italic);
  return font;
}

void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

}  // namespace

TBetaVersionDlg::TBetaVersionDlg(QWidget* parent) : TBetaVersionDlg(QString(), parent) {}

TBetaVersionDlg::TBetaVersionDlg(const QString& picturePath, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("BetaVersionDlg"));
  setWindowTitle(QStringLiteral("Version Info."));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);

  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

  StaticText1 = new QLabel(QStringLiteral("Halvoran Radiation"), this);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  SetTextColour(StaticText1, QPalette::WindowText, QColor(0, 0, 128));

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  // The picture keeps its own 601 x 337 logical pixels; on a finer screen it comes twice as
  // fine, and where the panel is larger than that, the panel stretches it.
  Image1->setScaledContents(true);
  PicturePath = picturePath;

  LicenceText = new QLabel(this);
  LicenceText->setObjectName(QStringLiteral("LicenceText"));
  Retranslate();

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, [this] { Guarded([this] { OKBtnClick(); }); });

  BitBtnHalvoranLab = new QPushButton(QString::fromLatin1(HalvoranLabAddress), this);
  BitBtnHalvoranLab->setObjectName(QStringLiteral("BitBtnHalvoranLab"));
  SetTextColour(BitBtnHalvoranLab, QPalette::ButtonText, Qt::blue);
  // Enter stays with OK even after the link was clicked.
  BitBtnHalvoranLab->setAutoDefault(false);
  connect(BitBtnHalvoranLab, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtnHalvoranLabClick(); }); });

  LayOut(Scale());
  OKBtn->setFocus();
}

void TBetaVersionDlg::LoadGreeting() {
  // The greeting's words are part of the picture: each language has a picture of its own, named
  // in the catalogue.
  const QString path = PicturePath.isEmpty() ? tr(":/pictures/greeting.jpg") : PicturePath;
  if (path == LoadedPath) return;
  LoadedPath = path;
  const TJpegResult picture = LoadJpegFor(path, devicePixelRatioF());
  if (picture.Image.isNull())
    PictureError = picture.Error;
  else
    Image1->setPixmap(QPixmap::fromImage(picture.Image));
}

void TBetaVersionDlg::Retranslate() {
  LoadGreeting();
  LicenceText->setText(
      tr("Free software under the GNU General Public License, version 3 or later"));
}

void TBetaVersionDlg::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Guarded([this] { Retranslate(); });
  QDialog::changeEvent(event);
}

void TBetaVersionDlg::LayOut(double scale) {
  setFixedSize(Scaled(FullWidth, scale), Scaled(FullHeight, scale));
  Bevel1->setGeometry(rect());
  StaticText1->setFont(ArialFont(21, scale, true));
  StaticText1->move(Scaled(48, scale), Scaled(24, scale));
  StaticText1->adjustSize();
  Image1->setGeometry(Scaled(16, 56, 601, 337, scale));
  LicenceText->setGeometry(Scaled(16, 396, 601, 18, scale));
  LicenceText->setFont(ArialFont(12, scale, false));
  OKBtn->setGeometry(Scaled(521, 22, 69, 23, scale));
  BitBtnHalvoranLab->setGeometry(Scaled(416, 360, 177, 25, scale));
  BitBtnHalvoranLab->setFont(ArialFont(12, scale, false));
}

void TBetaVersionDlg::FitInto(const QRect& area) {
  // The whole window drawn smaller rather than cut: it is one picture with two buttons, and a
  // laptop at twice its pixels (640 x 360 logical pixels) has less room than it needs.
  const QSize room = ClientRoomIn(area);
  const double fits = std::min(room.width() / static_cast<double>(FullWidth),
                               room.height() / static_cast<double>(FullHeight));
  LayOut(std::max(MinimumScale, std::min(Scale(), fits)));
  CentreInside(*this, area);
}

int TBetaVersionDlg::ShowModal() {
  exec();
  return ModalResult();
}

int TBetaVersionDlg::ModalResult() const { return result() == mrOk ? mrOk : mrCancel; }

void TBetaVersionDlg::OKBtnClick() { done(mrOk); }

void TBetaVersionDlg::BitBtnHalvoranLabClick() {
  const QString address = QString::fromLatin1(HalvoranLabAddress);
  // A machine without a browser (a classroom PC set up for one program) would otherwise make the
  // button do nothing at all; the message carries the address to type elsewhere.
  if (!QDesktopServices::openUrl(QUrl(address)))
    throw EError(QCoreApplication::translate("Messages", "No web browser could be opened for %1")
                     .arg(address));
}

void TBetaVersionDlg::setVisible(bool visible) {
  Guarded([&] {
    if (!visible || isVisible()) return;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      FitInto(screen->availableGeometry());
    // Told after the window is up, so that the box stands over it; the window itself goes on
    // with an empty panel.
    if (!PictureError.isEmpty()) {
      QTimer::singleShot(0, this, [text = PictureError] { Guarded([&] { ShowErrorBox(text); }); });
      PictureError.clear();
    }
  });
  QDialog::setVisible(visible);
}

void TBetaVersionDlg::keyPressEvent(QKeyEvent* event) {
  bool swallowed = false;
  Guarded([&] {
    swallowed = event->matches(QKeySequence::Cancel);
    if (swallowed) event->accept();
  });
  if (!swallowed) QDialog::keyPressEvent(event);
}
