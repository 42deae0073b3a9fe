// SPDX-License-Identifier: GPL-3.0-or-later
// Scenes in the window: opened from the File menu, refused with the key at fault and nothing
// changed, saved and opened again to the same scene, every built-in lesson from the Lessons menu
// in both languages, a file dropped on the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QUrl>

#include "MainFormDriver.h"
#include "scene/SceneJson.h"

namespace {

const QString Program = QString::fromUtf8(" — HalvoranRadiation");

class SceneWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Form->CreateRemainingWindows();
    Form->SetLanguage(TLanguage::Japanese);
  }
  QString Write(const char* name, const QByteArray& bytes) {
    QFile file(Folder.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
  }
  QString Write(const char* name, const TScene& scene) {
    return Write(name, QByteArray::fromStdString(WriteScene(scene)));
  }
  void Open(const QString& path) {
    Form->AskOpenSceneFile = [path] { return path; };
    Form->MainMenu1.Item("MnuOpenScene").trigger();
  }
  void Save(const QString& path) {
    Form->AskSaveSceneFile = [path] { return path; };
    Form->MainMenu1.Item("MnuSaveScene").trigger();
  }
  bool Paragraph(const QString& has) const {
    return !Form->LessonPanel->isHidden() && Form->LessonText->text().contains(has);
  }

  QTemporaryDir Folder;
};

TScene CircleScene() {
  TScene scene;
  scene.TrajectoryMode = tmCircle;
  scene.Model = {ModelSizeSmall.ISize, ModelSizeSmall.JSize, ModelSizeSmall.WaveFrontSpacing};
  scene.Display.ShowWaveFronts = true;
  scene.Running = false;
  scene.View = TSceneView{-0.5, 0.25, -0.3, 0.2};
  scene.Title = "Circles & kinks";
  scene.Notes = "First <paragraph>.\n\nSecond one.";
  scene.Translations = {{"ja", "円と折れ目", "日本語の説明。"}};
  return scene;
}

TScene LineScene() {
  TScene scene;
  scene.TrajectoryMode = tmStraightLine;
  scene.Model = {ModelSizeLarge.ISize, ModelSizeLarge.JSize, ModelSizeLarge.WaveFrontSpacing};
  scene.Display.ShowFieldLines = false;
  return scene;
}

TEST_F(SceneWindowTest, AnOpenedSceneIsShownWhole) {
  struct Case {
    const char* file;
    TScene scene;
    const char* trajectoryItem;
    const char* modelItem;
  };
  const Case cases[] = {{"circle.json", CircleScene(), "MnuCircle", "MnuMdlSmall"},
                        {"line.json", LineScene(), "mnuStraightLine", "MnuMdlLarge"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Open(Write(c.file, c.scene));
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
    // Simulation, view, running and texts in one comparison.
    EXPECT_EQ(Form->CurrentScene(), c.scene);
    EXPECT_EQ(Form->Chart1->BottomAxis().Minimum, c.scene.View ? c.scene.View->XMin : -1.0);
    for (const char* item : {c.trajectoryItem, c.modelItem})
      EXPECT_TRUE(Form->MainMenu1.IsChecked(item));
    EXPECT_EQ(Form->MainMenu1.IsChecked("mnuPlotWaveFront"), c.scene.Display.ShowWaveFronts);
    EXPECT_EQ(Form->MainMenu1.IsChecked("mnuPlotEFieldLines"), c.scene.Display.ShowFieldLines);
    EXPECT_EQ(Form->windowTitle(), QString::fromLatin1(c.file) + Program);
    EXPECT_EQ(Paragraph(QString::fromUtf8("円と折れ目")), !c.scene.Notes.empty());
  }
  // The paragraph follows the language, and the scene's text is plain, not markup.
  Open(Write("again.json", CircleScene()));
  Form->SetLanguage(TLanguage::English);
  EXPECT_TRUE(Paragraph(QStringLiteral("<b>Circles &amp; kinks</b>")));
  EXPECT_TRUE(Paragraph(QStringLiteral("First &lt;paragraph&gt;.")));
}

TEST_F(SceneWindowTest, ARefusedSceneNamesTheFileAndTheKeyAndChangesNothing) {
  std::string fast = WriteScene(LineScene());
  fast.replace(fast.find("\"LineBeta\": ") + 12, 3, "1.2");
  std::string unknown = WriteScene(LineScene());
  unknown.replace(unknown.find("\"LineBeta\""), 10, "\"LineBoost\"");
  const std::pair<const char*, QByteArray> cases[] = {
      {"fast.json", QByteArray::fromStdString(fast)},
      {"unknown.json", QByteArray::fromStdString(unknown)},
      {"broken.json", QByteArray("{\"format\": ")},
      {"huge.json", QByteArray(static_cast<qsizetype>(MaxSceneBytes) + 100, ' ')},
  };
  const char* says[] = {"trajectory.LineBeta: ", "trajectory.LineBoost", "", "1048576"};
  Open(Write("start.json", CircleScene()));
  const TScene before = Form->CurrentScene();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].first);
    Shown.clear();
    Open(Write(cases[i].first, cases[i].second));
    ASSERT_EQ(Shown.size(), 1);
    EXPECT_TRUE(Shown[0].contains(QStringLiteral("「%1」").arg(QLatin1String(cases[i].first))));
    EXPECT_TRUE(Shown[0].contains(QLatin1String(says[i]))) << Shown[0].toStdString();
    EXPECT_EQ(Form->CurrentScene(), before);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("start.json") + Program);
  }
  Form->SetLanguage(TLanguage::English);
  Shown.clear();
  Open(Folder.filePath(QStringLiteral("missing.json")));
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].startsWith(QStringLiteral("Could not open the scene \"missing.json\": ")));
}

TEST_F(SceneWindowTest, ASavedSceneOpensAsTheSameScene) {
  Open(Write("start.json", CircleScene()));
  // A range the user panned to, and running again.
  Form->Chart1->SetAxisRange(TPlotSurface::TAxisId::Left, -0.1, 0.4);
  Form->Chart1->SetAxisRange(TPlotSurface::TAxisId::Bottom, -0.2, 0.7);
  Form->MnuRunClick();
  const TScene saved = Form->CurrentScene();
  ASSERT_TRUE(saved.View && saved.View->YMax == 0.4 && saved.Running);
  const QString path = Folder.filePath(QStringLiteral("mine.json"));
  Save(path);
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("mine.json") + Program);
  Open(Write("other.json", LineScene()));
  ASSERT_NE(Form->CurrentScene(), saved);
  Open(path);
  EXPECT_EQ(Form->CurrentScene(), saved);
  // At the start-up range no range is saved: the scene fits any window.
  Open(Write("plain.json", LineScene()));
  EXPECT_FALSE(Form->CurrentScene().View);
  Save(Folder.filePath(QStringLiteral("no-folder/x.json")));
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("x.json"))) << Shown[0].toStdString();
}

TEST_F(SceneWindowTest, EveryLessonOpensFromTheLessonsMenuInBothLanguages) {
  // In the menu's order: file stem, English title, Japanese title.
  const char* lessons[][3] = {
      {"sudden-stop", "A sudden stop", "急停止"},
      {"slow-dipole", "The slow dipole", "遅い双極子"},
      {"fast-dipole", "The fast dipole", "速い双極子"},
      {"synchrotron", "Synchrotron light", "シンクロトロン光"},
      {"bending-magnet", "The bending magnet", "偏向電磁石"},
      {"undulator", "The undulator", "アンジュレータ"},
      {"thomas-on", "Thomas precession on", "トーマス歳差あり"},
      {"thomas-off", "Thomas precession off", "トーマス歳差なし"},
  };
  const QList<QAction*> items = Form->MainMenu1.Menu("MnuLessons").actions();
  ASSERT_EQ(items.size(), static_cast<qsizetype>(std::size(lessons)));
  for (const bool ja : {true, false}) {
    Form->SetLanguage(ja ? TLanguage::Japanese : TLanguage::English);
    EXPECT_EQ(Form->MainMenu1.Item("MnuLessons").text(),
              ja ? QString::fromUtf8("&レッスン") : QStringLiteral("&Lessons"));
    for (std::size_t i = 0; i < std::size(lessons); ++i) {
      SCOPED_TRACE(lessons[i][0]);
      const QString title = QString::fromUtf8(lessons[i][ja ? 2 : 1]);
      QAction* item = items[static_cast<qsizetype>(i)];
      EXPECT_EQ(item->objectName(), QStringLiteral("MnuLesson_") + QLatin1String(lessons[i][0]));
      EXPECT_EQ(item->text(), title);
      EXPECT_EQ(item->toolTip(), QString::fromUtf8(lessons[i][ja ? 1 : 2]));
      item->trigger();
      EXPECT_TRUE(Shown.isEmpty()) << Shown.join(QLatin1Char('\n')).toStdString();
      QFile file(QStringLiteral(":/scenes/%1.json").arg(QLatin1String(lessons[i][0])));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(Form->CurrentScene(), ReadScene(file.readAll().toStdString()).Scene);
      EXPECT_TRUE(Paragraph(QStringLiteral("<b>%1</b>").arg(title)));
    }
  }
}

TEST_F(SceneWindowTest, ADroppedSceneFileOpensAndOtherDropsAreIgnored) {
  const QUrl scene = QUrl::fromLocalFile(Write("dropped.json", CircleScene()));
  const std::pair<QList<QUrl>, bool> cases[] = {
      {{QUrl::fromLocalFile(Write("picture.png", QByteArray("png")))}, false},
      {{scene, scene}, false},
      {{QUrl(QStringLiteral("https://example.org/dropped.json"))}, false},
      {{scene}, true},
  };
  for (const auto& [urls, opens] : cases) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form.get(), &enter);
    EXPECT_EQ(enter.isAccepted(), opens) << urls.size();
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form.get(), &drop);
    EXPECT_EQ(Form->CurrentScene() == CircleScene(), opens) << urls.size();
  }
}

}  // namespace
