// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's scene commands: opening a scene file (from the menu, by a drop, or a built-in
// lesson), saving the scene shown, and the lesson's paragraph beside the plot.
#include "scene/SceneCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSaveFile>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/CommandLine.h"
#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "app/RefusalText.h"
#include "engine/ModelLimits.h"
#include "mainwindow/FileDialogFit.h"
#include "mainwindow/MainWindow.h"
#include "scene/SceneJson.h"
#include "views/RadiationPattern.h"

namespace {

const char* const ProgramTitle = "HalvoranRadiation";

// The menu items that show a trajectory and a model size as chosen.
const char* TrajectoryItem(int mode) {
  switch (mode) {
    case tmStraightLine:
      return "mnuStraightLine";
    case tmDipole:
      return "MnuDipole";
    case tmCircle:
      return "MnuCircle";
    case tmUndulator:
      return "MnuUndulator";
    case tmRaceTrack:
      return "mnuRacetrack";
    case tmBending:
      return "mnuBending";
    default:
      return "MnuByMouse";
  }
}

const char* ModelItem(const TModelSize& size) {
  const std::pair<TModelSizePreset, const char*> presets[] = {{ModelSizeLarge, "MnuMdlLarge"},
                                                              {ModelSizeMedium, "MnuMdlMedium"},
                                                              {ModelSizeSmall, "MnuMdlSmall"}};
  for (const auto& [preset, item] : presets)
    if (TModelSize{preset.ISize, preset.JSize, preset.WaveFrontSpacing} == size) return item;
  return "MnuMdlCustom";
}

// The title and notes in language where the scene has them, its own otherwise.
std::pair<QString, QString> TextsIn(const TScene& scene, TLanguage language) {
  const TSceneTranslation* translation =
      SceneTranslation(scene, language == TLanguage::Japanese ? "ja" : "en");
  if (!translation)
    return {QString::fromStdString(scene.Title), QString::fromStdString(scene.Notes)};
  // A translation may give only one of the two.
  return {QString::fromStdString(translation->Title.empty() ? scene.Title : translation->Title),
          QString::fromStdString(translation->Notes.empty() ? scene.Notes : translation->Notes)};
}

// Plain text as a paragraph of the panel: the title bold above the notes, whose empty lines part
// their paragraphs.
QString LessonHtml(const QString& title, const QString& notes) {
  QString html;
  if (!title.isEmpty())
    html += QStringLiteral("<p style=\"font-size:large\"><b>%1</b></p>").arg(title.toHtmlEscaped());
  const QStringList paragraphs = QString(notes)
                                     .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                     .split(QLatin1String("\n\n"), Qt::SkipEmptyParts);
  for (const QString& paragraph : paragraphs) {
    const QString text =
        paragraph.trimmed().toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!text.isEmpty()) html += QStringLiteral("<p>%1</p>").arg(text);
  }
  return html;
}

// The one local .json file that a drop carries; empty for anything else.
QString DroppedSceneFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().constFirst();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  if (QFileInfo(path).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) != 0) return {};
  return path;
}

QString ResourceText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace

// ---- Opening ----

void TMainForm1::MnuOpenSceneClick() {
  QString path;
  if (AskOpenSceneFile) {
    path = AskOpenSceneFile();
  } else {
    QFileDialog dialog(this, tr("Open scene"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(tr("Halvoran scene (*.json)"));
    FitToScreen(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      path = dialog.selectedFiles().constFirst();
  }
  if (!path.isEmpty()) OpenSceneFile(path);
}

bool TMainForm1::OpenSceneFile(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const auto refuse = [&](const QString& why) {
    throw EError(QCoreApplication::translate("Messages", "Could not open the scene \"%1\": %2")
                     .arg(name, why));
  };
  std::optional<TScene> scene;
  if (const TSceneRefusal refusal = ReadSceneFile(path, scene)) refuse(SceneRefusalText(refusal));
  if (const TRefusal refusal = ApplyWholeScene(*scene, name)) refuse(RefusalText(refusal));
  return true;
}

TRefusal TMainForm1::ApplyWholeScene(const TScene& scene, const QString& name) {
  const TModelSize model = Commands.ModelSize();
  if (TRefusal refusal = ApplyScene(scene, Commands)) return refusal;
  // A video keeps one model from its first frame to its last.
  if (!(Commands.ModelSize() == model)) EndRecording(TRecordingEnd::ModelChanged);
  ShowSceneRest(scene, name);
  return {};
}

void TMainForm1::ShowSceneRest(const TScene& scene, const QString& name) {
  // The menus as the dialogs leave them.
  MainMenu1.Check(TrajectoryItem(State.TrajectoryMode));
  MainMenu1.Check(ModelItem(Commands.ModelSize()));
  const TDisplaySettings& display = Display();
  MainMenu1.SetChecked("mnuPlotWaveFront", display.ShowWaveFronts);
  MainMenu1.SetChecked("mnuPlotEFieldLines", display.ShowFieldLines);
  MainMenu1.SetChecked("mnuPlotNodePoints", display.ShowNodePoints);
  MainMenu1.SetChecked("MnuFieldMonitor", display.ShowFieldVectors);
  ApplySmoothLines();
  ShowCaptionAndThemeMarks();
  ApplyThemeToPlots();
  ShowObserverState();

  SceneShown.Title = scene.Title;
  SceneShown.Notes = scene.Notes;
  SceneShown.Translations = scene.Translations;
  SceneView = scene.View;
  // The panel first: it takes its width from the plot, and the range is laid on the plot's size.
  ShowLessonTexts();
  FormResize();

  ShowReset();
  if (PatternForm) PatternForm->MotionChanged();
  if (scene.Running) {
    StopAfterTick = false;
    MnuRunClick();
  } else {
    MnuPauseClick();
  }
  const QString program = QString::fromLatin1(ProgramTitle);
  setWindowTitle(name.isEmpty() ? program : QStringLiteral("%1 \u2014 %2").arg(name, program));
}

bool TMainForm1::Running() const {
  return Timer1->isActive() && !StopAfterTick;
}

TScene TMainForm1::CurrentScene() const {
  std::optional<TSceneView> view =
      TSceneView{Chart1->BottomAxis().Minimum, Chart1->BottomAxis().Maximum,
                 Chart1->LeftAxis().Minimum, Chart1->LeftAxis().Maximum};
  // The start-up range is saved as none, so that the scene fits the shape of any window.
  const auto near = [](double a, double b) { return std::abs(a - b) <= 1e-12; };
  if (!SceneView && near(view->XMin, -1.0) && near(view->XMax, 1.0) &&
      near(view->YMin, -LastGoodAspectRatio) && near(view->YMax, LastGoodAspectRatio))
    view.reset();
  TScene scene = SceneOf(Commands, view, Running(), SceneShown.Title, SceneShown.Notes);
  scene.Translations = SceneShown.Translations;
  return scene;
}

// ---- Saving ----

void TMainForm1::MnuSaveSceneClick() {
  QString path;
  if (AskSaveSceneFile) {
    path = AskSaveSceneFile();
  } else {
    QFileDialog dialog(this, tr("Save scene"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr("Halvoran scene (*.json)"));
    dialog.setDefaultSuffix(QStringLiteral("json"));
    dialog.selectFile(QStringLiteral("scene.json"));
    FitToScreen(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      path = dialog.selectedFiles().constFirst();
  }
  if (path.isEmpty()) return;

  const QByteArray bytes = QByteArray::fromStdString(WriteScene(CurrentScene()));
  const auto failed = [&](const QString& reason) {
    throw EError(
        RefusalText(Refused(TRefusalCode::SceneNotWritten,
                            {TRefusalValue::OfText(QDir::toNativeSeparators(path).toStdString()),
                             TRefusalValue::OfText(reason.toStdString())})));
  };
  // A device or a pipe is written into; any other name keeps what it holds until the scene is
  // complete.
  QSaveFile whole(path);
  QFile direct(path);
  const bool device = IsDeviceOrPipe(path);
  QFileDevice& file = device ? static_cast<QFileDevice&>(direct) : whole;
  if (!file.open(QIODevice::WriteOnly)) failed(file.errorString());
  if (!WriteWhole(file, bytes) || !file.flush()) {
    const QString reason = file.errorString();
    whole.cancelWriting();
    failed(reason);
  }
  if (!device && !whole.commit()) failed(whole.errorString());
  if (!device)
    setWindowTitle(QStringLiteral("%1 \u2014 %2")
                       .arg(QFileInfo(path).fileName(), QString::fromLatin1(ProgramTitle)));
}

// ---- Drops ----

void TMainForm1::dragEnterEvent(QDragEnterEvent* event) {
  Guarded([&] {
    if (!DroppedSceneFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
  });
}

void TMainForm1::dropEvent(QDropEvent* event) {
  Guarded([&] {
    const QString path = DroppedSceneFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenSceneFile(path);
  });
}

// ---- The lessons ----

void TMainForm1::FillLessonsMenu() {
  QMenu& menu = MainMenu1.Menu("MnuLessons");
  const QJsonArray files =
      QJsonDocument::fromJson(ResourceText(QStringLiteral(":/scenes/index.json")).toUtf8())
          .object()
          .value(QLatin1String("lessons"))
          .toArray();
  // The index names each lesson by its file's stem, as the browser's menu reads it too.
  for (const QJsonValue& value : files) {
    QString file = value.toString();
    if (!file.endsWith(QLatin1String(".json"))) file += QLatin1String(".json");
    const QByteArray bytes = ResourceText(QStringLiteral(":/scenes/") + file).toUtf8();
    TSceneRead read =
        ReadScene(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // The lessons are built in and tested: one that does not read is left out of the menu.
    if (!read) continue;
    QAction* item = menu.addAction(file);
    item->setObjectName(QStringLiteral("MnuLesson_") + QFileInfo(file).completeBaseName());
    Lessons.push_back({item, std::move(read.Scene), file});
    const std::size_t index = Lessons.size() - 1;
    connect(item, &QAction::triggered, this, [this, index] {
      Guarded([this, index] {
        const TLesson& lesson = Lessons[index];
        if (TRefusal refusal = ApplyWholeScene(lesson.Scene, lesson.File)) throw EError(refusal);
      });
    });
  }
  menu.setToolTipsVisible(true);
}

void TMainForm1::RetitleLessons() {
  const TLanguage other =
      Language() == TLanguage::Japanese ? TLanguage::English : TLanguage::Japanese;
  for (const TLesson& lesson : Lessons) {
    // The access key's sign would be taken from a title's own "&".
    QString title = TextsIn(lesson.Scene, Language()).first;
    lesson.Item->setText(title.replace(QLatin1Char('&'), QLatin1String("&&")));
    lesson.Item->setToolTip(TextsIn(lesson.Scene, other).first);
  }
}

// ---- The lesson's paragraph ----

int TMainForm1::LessonPanelWidth() const {
  if (!LessonPanel || LessonPanel->isHidden()) return 0;
  const int width = centralWidget() ? centralWidget()->width() : 0;
  // A quarter of the window, but lines short enough to read and the plot wide enough to see.
  return std::clamp(width / 4, std::min(240, width / 2), 420);
}

void TMainForm1::ShowLessonTexts() {
  if (!LessonPanel) return;
  const auto [title, notes] = TextsIn(SceneShown, Language());
  LessonText->setText(LessonHtml(title, notes));
  const bool shown = !notes.trimmed().isEmpty();
  if (shown == !LessonPanel->isHidden()) return;
  LessonPanel->setVisible(shown);
  // The plot gives the panel its width, or takes it back.
  FormResize();
}
