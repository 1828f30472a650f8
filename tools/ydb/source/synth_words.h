// What generated editions and extracts are made of: one random sequence per seed on every platform,
// and the syllables of their firm and street names.
#pragma once

#include "tools/writer/seeded_random.h"

inline constexpr const char* synthSyllables[] = {
    "Ал",  "Бор", "Вест", "Гран", "Дом", "Евро", "Жар", "Зен", "Ист", "Кам", "Лен", "Мир", "Нев",  "Онт", "Пет",
    "Рус", "Сев", "Тех",  "Уни",  "Фар", "Хим",  "Цен", "Чер", "Шат", "Эко", "Юг",  "Ярт", "Мед", "Стро", "Торг"};
inline constexpr const char* synthEndings[] = {"ком", "сервис", "строй", "маркет", "тех",
                                               "лайн", "групп", "плюс", "снаб", "инвест"};
