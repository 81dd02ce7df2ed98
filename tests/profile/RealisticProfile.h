#pragma once

// A deterministic profile shaped like the one the program carries: about 1,500 lines and
// 47 KB of Windows-1252 text with a preamble, settings, texts in four languages, a plant
// catalogue, list templates, name translations and cached server prices; with comments, blank
// lines, lines that are not keys, indented lines, umlauts, and ";" and "=" inside values.
// Shared by the round-trip test and the benchmark.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct RealisticProfile {
    std::string text; // as a hand-edited file might be
    std::string written; // what the document writes back
    std::vector<std::pair<std::string, std::string>> keys; // (section, key) of every key line
    std::size_t lineCount = 0;
};

inline RealisticProfile MakeRealisticProfile()
{
    RealisticProfile profile;
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    std::string section;
    // Every fifth line carries blanks around it, and the text mixes LF and CR LF endings;
    // written back, each line is trimmed and ends with CR LF.
    const auto line = [&](const std::string& body) {
        const bool indented = profile.lineCount % 5 == 3;
        profile.text += indented ? (profile.lineCount % 2 ? "\t  " : "  ") + body + " \t" : body;
        profile.text += profile.lineCount % 3 == 0 ? "\r\n" : "\n";
        profile.written += body + "\r\n";
        ++profile.lineCount;
    };
    const auto header = [&](const std::string& name) {
        section = name;
        line("[" + name + "]");
    };
    const auto key = [&](const std::string& name, const std::string& value) {
        line(value.empty() ? name + "=" : name + "=" + value);
        profile.keys.emplace_back(section, name);
    };
    const auto comment = [&](const std::string& text) { line("; " + text); };

    static const char* const kSyllables[] = { "Ka", "rot", "te", "Sa", "lat", "Erd", "bee", "re",
        "Gur", "ke", "Zwie", "bel", "Ra", "dies", "chen", "K\xFCr", "bis", "Spi", "nat", "Tul",
        "pe", "Oli", "ve", "Man", "go", "Pfir", "sich", "Apri", "ko", "se", "Him", "M\xF6h", "ren",
        "Br\xF6t", "B\xE4r", "lauch" };
    const auto word = [&](int parts) {
        std::string text;
        for (int i = 0; i < parts; ++i)
            text += kSyllables[next(sizeof(kSyllables) / sizeof(*kSyllables))];
        return text;
    };

    comment("Profil des Preisrechners - bitte nur mit Bedacht von Hand \xE4ndern");
    comment("Zeilen, die mit einem Semikolon beginnen, sind Kommentare.");
    line("");
    header("Settings");
    key("Version", "1.39");
    key("Lang", "");
    key("MaxFarm", "0");
    key("MaxLevel", "99");
    key("OriginMask", "-1");
    key("LoadFlag", "49153");
    key("PreisListe", "1");
    key("Server", "Server 3");
    key("WindowRect", "10, 20, 830, 640");
    line("");

    static const char* const kLanguages[] = { "Deutsch", "English",
        "Fran\xE7"
        "ais",
        "Espa\xF1ol" };
    for (const char* language : kLanguages) {
        header(language);
        comment(std::string("Texte der Oberfl\xE4") + "che: " + language);
        for (int i = 0; i < 115; ++i) {
            if (i % 37 == 36)
                line("");
            if (i % 41 == 40)
                comment("Abschnitt " + std::to_string(i / 41));
            key("Txt_" + word(2) + std::to_string(i),
                word(3) + " " + word(2) + " " + word(3) + " " + word(2)
                    + (i % 7 == 0 ? " = " + word(1) : "") + (i % 9 == 0 ? "; %d" : ""));
        }
        line("");
    }

    header("Plants");
    comment("Name = Preis; Punkte; Zeit; Felder; NPC; Stufe; Herkunft");
    std::vector<std::string> plants;
    for (int i = 0; i < 140; ++i) {
        plants.push_back(word(2) + std::to_string(i));
        key(plants.back(),
            "  " + std::to_string(next(900) + 10) + ",5;  " + std::to_string(next(40)) + "; "
                + std::to_string(next(600)) + "; " + std::to_string(next(4) + 1) + "; "
                + std::to_string(next(50)) + "; " + std::to_string(next(99)) + "; " + word(1));
    }
    line("");

    for (int list = 0; list < 8; ++list) {
        header("Liste" + std::to_string(list));
        key("Titel",
            "Ein Pirk m\xF6"
            "chte folgendes kaufen:");
        key("Zeile", "%d %s");
        key("Total", "Er bietet %s daf\xFCr");
        key("Frage",
            "M\xF6"
            "chtest du verkaufen?");
        line("nur Text ohne Gleichheitszeichen");
        line("");
    }

    header("Translations");
    for (int i = 0; i < 130; ++i)
        key(word(3) + std::to_string(i), plants[next(static_cast<std::uint32_t>(plants.size()))]);
    line("");

    for (int server = 1; profile.text.size() < 47000 && server < 50; ++server) {
        header("Server " + std::to_string(server));
        key("Aktualisiert", "2024-05-1" + std::to_string(server % 10) + " 08:15");
        key("Stand", "14.05.2024 08:00");
        key("Selected", "1");
        key("ListType", "2");
        for (std::size_t i = 0; i < plants.size() && profile.text.size() < 47000; i += 1 + next(2))
            key(plants[i], std::to_string(next(5000)) + "," + std::to_string(next(100)));
        line("");
    }
    return profile;
}
