// What generated editions and extracts are made of: one random sequence per seed on every platform,
// and the syllables of their firm and street names.
#pragma once

#include <cstddef>
#include <cstdint>

// splitmix64: the same sequence on every platform, so a seed names one edition.
struct SynthRandom {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }
    template <size_t N> const char* pick(const char* const (&items)[N]) { return items[below(N)]; }
};

inline constexpr const char* synthSyllables[] = {
    "Ал",  "Бор", "Вест", "Гран", "Дом", "Евро", "Жар", "Зен", "Ист", "Кам", "Лен", "Мир", "Нев",  "Онт", "Пет",
    "Рус", "Сев", "Тех",  "Уни",  "Фар", "Хим",  "Цен", "Чер", "Шат", "Эко", "Юг",  "Ярт", "Мед", "Стро", "Торг"};
inline constexpr const char* synthEndings[] = {"ком", "сервис", "строй", "маркет", "тех",
                                               "лайн", "групп", "плюс", "снаб", "инвест"};
