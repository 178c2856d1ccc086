#include "output/html/html_navigator.h"

#include <cstddef>

namespace zr {

std::string NavigatorScript(long width, long height) {
  const std::string x =
      "document.body.scrollLeft + document.body.clientWidth - " + std::to_string(width);
  const std::string y =
      "document.body.scrollTop + document.body.clientHeight - " + std::to_string(height);
  return "function floatNavigator(){\n\tif (document.all){document.all.OxNavigator.style.pixelTop "
         "= " +
         y + ";document.all.OxNavigator.style.pixelLeft = " + x + ";}" + "\n" + "\t" +
         "else if(document.getElementById){document.getElementById(" +
         "'OxNavigator').style.top = window.pageYOffset + " +
         "'px';document.getElementById('OxNavigator').style.left = " +
         "window.pageXOffset + 'px';}" + "\n" + "}" + "\n" +
         "if (document.all){window.onresize = SetResizeLeft;" +
         "window.onscroll = floatNavigator;}" + "\n" +
         "else setInterval ('floatNavigator()', 100);" + "\n" + "function initNavigator(){" + "\n" +
         "if (document.all){" + "document.all.OxNavigator.style.pixelTop = " + y +
         ";document.all.OxNavigator.style.pixelLeft = " + x +
         ";document.all.OxNavigator.style.visibility = " + "'visible';}" + "\n" + "\t" +
         "else if (document.getElementById){" +
         "document.getElementById('OxNavigator').style.top = " + "window.pageYOffset + 'px'" +
         ";document.getElementById('OxNavigator').style.left = " + "window.pageYOffset + 'px';" +
         "document.getElementById('OxNavigator').style.visibility = " + "'visible';}" + "\n" + "}" +
         "\n" + "function SetResizeLeft(){" + "\n" + "\t" + "if (document.all){" +
         "document.all.OxNavigator.style.pixelTop = " + y +
         ";document.all.OxNavigator.style.pixelLeft = " + x + ";}" + "\n" + "\t" +
         "else if (document.getElementById){document.getElementById(" +
         "'OxNavigator').style.top = window.pageYOffset + " +
         "'px';document.getElementById('OxNavigator'" +
         ").style.left = window.pageYOffset + 'px';}" + "\n" + "}";
}

std::string NavigatorLinks(const std::vector<std::string>& page_files, int index,
                           const NavigatorLink (&links)[4], bool text_links) {
  const int last = static_cast<int>(page_files.size()) - 1;
  auto href = [&](int target, bool leads) {
    return leads ? "HREF=\"" + page_files[static_cast<size_t>(target)] + "\" " : std::string();
  };
  const std::string hrefs[4] = {href(0, index > 0), href(index - 1, index > 0),
                                href(index + 1, index < last), href(last, index < last)};
  std::string out;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) out += "&nbsp;";
    const NavigatorLink& link = links[i];
    if (text_links) {
      out += "<A " + hrefs[i] + "TITLE=\"" + link.title + "\">" + link.caption + "</A>";
    } else {
      out += "<A " + hrefs[i] + "TITLE=\"" + link.title + "\"><IMG SRC=\"" + link.picture +
             "\" ALT=\"" + link.title + "\"></A>";
    }
  }
  return out;
}

}  // namespace zr
