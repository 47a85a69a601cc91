#pragma once

#include "shell/OutputFile.h"

#include <functional>

struct lxw_workbook;

// Makes a workbook with `fill` and writes it to `path` whole or not at all, by the rules of
// every output. libxlsxwriter writes only to a named file: the workbook is made in the
// temporary folder first. False with the reason, in words, when no file was written.
bool SaveWorkbook(const QString& path, const OutputRules& rules,
                  const std::function<void(lxw_workbook*)>& fill, Bilingual* reason);
