#pragma once

// The profile's [Settings] section: its name, every key the program reads or writes there, and
// the value taken where a key is missing. Nothing else spells them.
namespace SettingKeys {

inline constexpr const char* kSection = "Settings";

inline constexpr const char* kVersion = "Version";
inline constexpr const char* kLanguage = "Lang";
inline constexpr const char* kServer = "Server";
inline constexpr const char* kWindowSize = "WinSize";
inline constexpr const char* kShowPriceList = "PreisListe";
inline constexpr const char* kMaxFarm = "MaxFarm";
inline constexpr const char* kWatchClipboard = "WatchClipboard";

inline constexpr const char* kMaxLevel = "MaxLevel";
inline constexpr int kDefaultMaxLevel = 99;
inline constexpr const char* kOriginMask = "OriginMask";
inline constexpr int kDefaultOriginMask = -1;

// 0x8000 follows redirects from https to http, 0x4000 the other way.
inline constexpr const char* kLoadFlag = "LoadFlag";
inline constexpr int kDefaultLoadFlag = 49153;

inline constexpr const char* kServerInterval = "ServerInt";
inline constexpr int kDefaultServerInterval = 5;
inline constexpr const char* kServerUpdate = "ServerUpd";
inline constexpr const char* kDefaultServerUpdate = "1980-01-01";
inline constexpr const char* kServerList = "ServerList";
inline constexpr const char* kServerListFallback = "ServerListFallback";

} // namespace SettingKeys
