// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu: every item made from one table with its caption, its English meaning
// as the tooltip, its check group and its handler.
#pragma once

#include <QString>
#include <map>
#include <string>

#include "app/Language.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class TMainForm1;

class TMainMenu {
 public:
  // Fills bar with the whole tree and connects each item to its handler on form. Clicking a
  // check or radio item does not change its mark by itself: each handler sets the marks it
  // means, the trajectory items only once their dialog has returned OK.
  void Build(QMenuBar& bar, TMainForm1& form);
  // Writes every caption and tooltip for the language installed last: captions in that language,
  // tooltips in the other one.
  void Retranslate(const TTranslations& translations);
  // Gives an item another caption (written in Japanese, translated in the context TMainMenu) and
  // meaning, in the language installed last as Retranslate writes the table's.
  void SetCaption(const char* name, const char* caption, const char* meaning,
                  const TTranslations& translations);

  // The item or submenu of a component name ("MnuCircle", "MnuTrajectory"); a submenu's item is
  // its menuAction(). Names that do not exist are a programming error.
  QAction& Item(const char* name) const;
  QMenu& Menu(const char* name) const;

  // Checks a radio item (unchecking the others of its group) or sets a check item.
  void Check(const char* name);
  void SetChecked(const char* name, bool checked);
  bool IsChecked(const char* name) const;

 private:
  void UndoAutomaticCheck(QAction& action);

  std::map<std::string, QAction*> Items;
  std::map<std::string, QMenu*> Menus;
  std::map<QAction*, QActionGroup*> GroupOf;
  std::map<QActionGroup*, QAction*> ConfirmedInGroup;  // the item the handlers last checked
};
