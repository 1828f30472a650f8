// The texts the lists and searches show: captions, messages, questions and the fixed lines.
#pragma once

#include "win32/types.h"

namespace text {

inline constexpr const WCHAR* captionDatabase = W("БАЗА");
inline constexpr const WCHAR* captionList = W("СПИСОК");
inline constexpr const WCHAR* captionSearch = W("ПОИСК");
inline constexpr const WCHAR* captionOverflow = W("Переполнение");
inline constexpr const WCHAR* captionRubrics = W("РУБРИКИ");
inline constexpr const WCHAR* captionHope = W("С НАДЕЖДОЙ");
inline constexpr const WCHAR* captionLastChance = W("ПОСЛЕДНИЙ ШАНС");
inline constexpr const WCHAR* captionRegret = W("СОЖАЛЕНИЕ");
inline constexpr const WCHAR* captionConditions = W("ЗАДАЙТЕ УСЛОВИЯ:");

inline constexpr const WCHAR* readError = W("Ошибка чтения базы!");
inline constexpr const WCHAR* outOfSpace = W("Недостаточно памяти!");
inline constexpr const WCHAR* letterLimit = W("Достигнут предел: 10000");
inline constexpr const WCHAR* askFragment = W("НИЧЕГО НЕ НАЙДЕНО!\nИСКАТЬ ФРАГМЕНТ НАЗВАНИЯ?");
inline constexpr const WCHAR* askNotes = W("НИЧЕГО НЕ НАЙДЕНО!\nИСКАТЬ В ПРИМЕЧАНИЯХ?");
inline constexpr const WCHAR* nothingFound = W("НИЧЕГО НЕ НАЙДЕНО!");
inline constexpr const WCHAR* giveConditions =
    W("Введите начало/фрагмент наименования и/или улицу, и тему, или только телефон.");

inline constexpr const WCHAR* resultOverflowLine = W("!!!···показаны первые 1000···!!!");
inline constexpr const WCHAR* completionOverflowLine = W("···показаны первые 100···");
inline constexpr const WCHAR* chooseThemeLine = W("<<выбрать тему>>");

}  // namespace text
