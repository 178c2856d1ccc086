#pragma once
// The numbers of the preview's interface texts (LoadStr).

namespace zr {

inline constexpr int kStrFindText = 53000;
inline constexpr int kStrTextToFind = 53001;
inline constexpr int kStrFindOptions = 53002;
inline constexpr int kStrCaseSensitive = 53003;
inline constexpr int kStrFindOrigin = 53004;
inline constexpr int kStrFirstPage = 53005;
inline constexpr int kStrCurrentPage = 53006;
inline constexpr int kStrPage = 55004;
inline constexpr int kStrReportFile = 55211;

}  // namespace zr
