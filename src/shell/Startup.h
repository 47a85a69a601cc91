#pragma once

#include "Globals.h"
#include "clsMakeSpecialFolder.h"

#include <QString>
#include <cstdint>

// The user folder: documents / "VX-2968" / (created if missing).
QString GetUserFolderPath(const clsMakeSpecialFolder& folders);

// Japanese when fwdstr.ini in the user folder starts with "J" or "j" followed by nothing or
// a zero byte; English otherwise, no file included. The file name is matched without regard
// to case.
UiLanguage ReadUiLanguage(const QString& userFolder);
// The same rule on the file's bytes.
UiLanguage UiLanguageFromBytes(const QByteArray& bytes);

bool FolderExists(const QString& path);
// Creates the last level of `path` when missing; true when the folder exists afterwards.
bool EnsureFolder(const QString& path);
// userFolder + "data/" (an existing DATA of any case is used), made if missing.
QString MakeDataFolder(const QString& userFolder);

// The program folder, ending in "/": the executable's folder when it is writable (a build
// tree, an unpacked copy), otherwise (read-only, or a system folder of an installed
// program) the per-user application data folder, so that fwd.rs can always be saved.
// True for the folders a package installs programs into (/usr/..., /opt/...).
bool IsInstalledProgramFolder(const QString& folder);
QString ResolveAppFolder(const QString& executableFolder, const clsMakeSpecialFolder& folders);

// InitGlobals: the start values of every shared value, AppFolder (made current) and
// the DATA folder beside it.
void InitGlobals(Globals& g, const QString& executableFolder, const clsMakeSpecialFolder& folders);

// Title-bar height in pixels times whole twips per pixel, less the 285 twips the screens
// were laid out for.
int32_t ComputeCaptionHeightExtra(int captionPixels, double twipsPerPixel);
