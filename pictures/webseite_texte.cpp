#include "pictures/webseite_texte.h"

namespace tilvendo {
namespace {

std::string HtmlText(const std::string& text) {
  std::string aus;
  for (const char c : text) {
    switch (c) {
      case '<':
        aus += "&lt;";
        break;
      case '>':
        aus += "&gt;";
        break;
      case '&':
        aus += "&amp;";
        break;
      case '"':
        aus += "&quot;";
        break;
      case '\'':
        aus += "&#39;";
        break;
      default:
        aus += c;
    }
  }
  return aus;
}

}  // namespace

std::string WebseiteHtml(const std::string& ordnerUrl, const std::string& titel,
                         bool mitPlatzierung) {
  // The folder's name is percent-encoded: it holds no quote, "<" or "&".
  const std::string o = ordnerUrl + "/";
  std::string html =
      "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Nubo Tilvendo\">\n<title>" +
      HtmlText(titel) + "</title>\n<link rel=\"stylesheet\" href=\"" + o +
      "leaflet.css\">\n<link rel=\"stylesheet\" href=\"" + o +
      "seite.css\">\n</head>\n<body>\n<div id=\"karte\"></div>\n<div id=\"name\" hidden></div>\n"
      "<script src=\"" +
      o + "leaflet.js\"></script>\n<script src=\"" + o + "daten.js\"></script>\n";
  if (mitPlatzierung) html += "<script src=\"" + o + "platzierung.js\"></script>\n";
  html += "<script src=\"" + o + "seite.js\"></script>\n</body>\n</html>\n";
  return html;
}

const char* const kWebseiteCss =
    R"(html, body, #karte { margin: 0; height: 100%; background: #000; }
#name { position: absolute; left: 0; bottom: 0; z-index: 1000; max-width: 100%;
  box-sizing: border-box; padding: 4px 8px; background: rgba(0, 0, 0, 0.75); color: #fff;
  font: 14px sans-serif; white-space: pre; overflow: hidden; text-overflow: ellipsis;
  pointer-events: none; }
#karte.oeffnet { cursor: pointer; }
)";

// The view's address is "#zoom/x/y": the zoom level and the centre in the mosaic's pixels,
// so that a link opens the page at the spot it was copied from. Names are only ever set
// as text.
const char* const kWebseiteSkript = R"((function () {
  'use strict';
  var m = window.tilvendoMosaik;
  var p = window.tilvendoPlatzierung || null;
  var voll = m.tiefe;
  // A cell opens its photo with a click once it is this many screen pixels wide.
  var klickBreite = 48;
  // Tiles show at once in their own colours, not fading in: a picture of the page taken
  // as it has loaded (a browser's screenshot, a print) shows the mosaic as it is.
  var karte = L.map('karte', {
    crs: L.CRS.Simple, zoomSnap: 0.25, zoomDelta: 1, attributionControl: false,
    minZoom: -8, maxZoom: voll, fadeAnimation: false
  });
  function ort(x, y) { return karte.unproject([x, y], voll); }
  var grenzen = L.latLngBounds(ort(0, m.hoehe), ort(m.breite, 0));
  L.tileLayer(m.ordner + '/kacheln/{z}/{y}/{x}.jpg', {
    tileSize: m.kachel, minNativeZoom: 0, maxNativeZoom: voll, minZoom: -8, maxZoom: voll,
    bounds: grenzen, noWrap: true
  }).addTo(karte);
  function kleinsteStufe() {
    karte.setMinZoom(Math.min(0, Math.floor(karte.getBoundsZoom(grenzen) * 4) / 4));
  }
  kleinsteStufe();
  karte.setMaxBounds(grenzen.pad(0.5));
  // Until the user moves it the page shows the whole mosaic, also when the window changes
  // its size after loading (as a window being laid out does).
  var ganzeAnsicht = false, eigeneBewegung = false;
  function ganzZeigen() {
    eigeneBewegung = true;
    karte.fitBounds(grenzen, { animate: false, padding: [0, 0] });
    eigeneBewegung = false;
    ganzeAnsicht = true;
  }

  var eigeneAdresse = '';
  function ansichtAusAdresse() {
    var t = location.hash.replace(/^#/, '').split('/');
    if (t.length !== 3) return false;
    var z = parseFloat(t[0]), x = parseFloat(t[1]), y = parseFloat(t[2]);
    if (!isFinite(z) || !isFinite(x) || !isFinite(y)) return false;
    z = Math.max(karte.getMinZoom(), Math.min(voll, z));
    karte.setView(ort(x, y), z, { animate: false });
    return true;
  }
  function adresseSetzen() {
    if (!eigeneBewegung) ganzeAnsicht = false;
    var c = karte.project(karte.getCenter(), voll);
    var a = '#' + Math.round(karte.getZoom() * 100) / 100 + '/' + Math.round(c.x) + '/' +
            Math.round(c.y);
    eigeneAdresse = a;
    if (location.hash === a) return;
    try { history.replaceState(null, '', a); } catch (e) { location.replace(a); }
  }
  karte.on('moveend', adresseSetzen);
  karte.on('resize', function () {
    // After Leaflet is done with the new size.
    setTimeout(function () {
      kleinsteStufe();
      if (ganzeAnsicht) ganzZeigen();
    }, 0);
  });
  eigeneBewegung = true;
  if (!ansichtAusAdresse()) ganzZeigen();
  eigeneBewegung = false;
  window.addEventListener('hashchange', function () {
    if (location.hash === eigeneAdresse) return;
    eigeneBewegung = true;
    ansichtAusAdresse();
    eigeneBewegung = false;
  });
  if (!p) return;

  var schild = document.getElementById('name');
  var karteElement = document.getElementById('karte');
  function fotoAn(latlng) {
    var q = karte.project(latlng, voll);
    var x = Math.floor(q.x / p.kachelBreite), y = Math.floor(q.y / p.kachelHoehe);
    if (x < 0 || y < 0 || x >= p.kachelnX || y >= p.kachelnY) return null;
    var k = p.zellen[y * p.kachelnX + x];
    return k > 0 ? p.fotos[k - 1] : null;
  }
  function nahGenug() {
    return p.kachelBreite * Math.pow(2, karte.getZoom() - voll) >= klickBreite;
  }
  karte.on('mousemove', function (e) {
    var f = fotoAn(e.latlng);
    karteElement.classList.toggle('oeffnet', !!(f && f[2] && nahGenug()));
    if (!f) { schild.hidden = true; return; }
    schild.textContent = f[1] ? f[0] + ' \u2014 ' + f[1] : f[0];
    schild.hidden = false;
  });
  karte.on('mouseout', function () { schild.hidden = true; });
  karte.on('click', function (e) {
    if (!nahGenug()) return;
    var f = fotoAn(e.latlng);
    if (f && f[2]) window.open(f[2], '_blank', 'noopener');
  });
})();
)";

}  // namespace tilvendo
