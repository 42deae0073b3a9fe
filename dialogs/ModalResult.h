// SPDX-License-Identifier: GPL-3.0-or-later
// Modal results of the program's dialogs.
#pragma once

constexpr int mrOk = 1;
constexpr int mrCancel = 2;
