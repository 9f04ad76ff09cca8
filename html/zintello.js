// What the three pages share: the cookies through which they speak to the
// programs, the chosen language and design, and the texts.
// Written for the program's own engine (QtWebKit): ES5 only.
var Zintello = (function () {
  "use strict";

  // designs.js, made from designs/designs.json, names the languages the pages speak.
  var languages = (window.ZintelloDesigns && window.ZintelloDesigns.languages) || ["en"];
  var cookieYears = 10;

  // A value that is not well-formed %-escaped text (stored by anything but
  // setCookie) counts as no value, so that the pages fall back to the defaults.
  function decoded(value) {
    try {
      return decodeURIComponent(value);
    } catch (malformed) {
      return null;
    }
  }

  function cookie(name) {
    // The most specific path comes first when several cookies share a name.
    var parts = document.cookie ? document.cookie.split(";") : [];
    for (var i = 0; i < parts.length; ++i) {
      var part = parts[i].replace(/^\s+/, "");
      var equals = part.indexOf("=");
      if (equals > 0 && part.substring(0, equals) === name) {
        var value = decoded(part.substring(equals + 1));
        if (value !== null)
          return value;
      }
    }
    return null;
  }

  // Path "/" reaches every page below html/; max-age and expires both, as
  // older engines know only the one or the other.
  function setCookie(name, value) {
    var seconds = cookieYears * 365 * 24 * 60 * 60;
    var expires = new Date(new Date().getTime() + seconds * 1000);
    document.cookie = name + "=" + encodeURIComponent(value) + "; path=/; max-age=" + seconds +
      "; expires=" + expires.toUTCString();
  }

  function isLanguage(code) {
    return languages.indexOf(code) >= 0;
  }

  // The chosen language; before any choice the system's, where we speak it.
  function language() {
    var chosen = cookie("language");
    if (isLanguage(chosen))
      return chosen;
    var system = String(navigator.language || navigator.userLanguage || "").toLowerCase().substring(0, 2);
    return isLanguage(system) ? system : "en";
  }

  function designs() {
    return (window.ZintelloDesigns && window.ZintelloDesigns.designs) || [];
  }

  function findDesign(number) {
    var list = designs();
    for (var i = 0; i < list.length; ++i) {
      if (String(list[i].number) === String(number))
        return list[i];
    }
    return null;
  }

  // The chosen design; an unknown value counts as no choice.
  function design() {
    var chosen = findDesign(cookie("design"));
    if (chosen)
      return chosen;
    return findDesign(window.ZintelloDesigns && window.ZintelloDesigns["default"]) || designs()[0] || null;
  }

  function text(key, code) {
    var table = window.ZintelloTexts || {};
    var own = table[code || language()] || {};
    return own.hasOwnProperty(key) ? own[key] : (table.en || {})[key];
  }

  function format(pattern, values) {
    return String(pattern).replace(/\{(\w+)\}/g, function (whole, key) {
      return values.hasOwnProperty(key) ? values[key] : whole;
    });
  }

  function designName(entry, code) {
    return entry.name[code || language()] || entry.name.en;
  }

  // Fills every element that names its text with data-text, and the title.
  function translate(code, values) {
    var elements = document.querySelectorAll("[data-text]");
    for (var i = 0; i < elements.length; ++i)
      elements[i].textContent = format(text(elements[i].getAttribute("data-text"), code), values || {});
    var title = document.documentElement.getAttribute("data-title");
    if (title)
      document.title = text(title, code);
    document.documentElement.lang = code;
  }

  return {
    languages: languages,
    cookie: cookie,
    setCookie: setCookie,
    language: language,
    designs: designs,
    findDesign: findDesign,
    design: design,
    text: text,
    format: format,
    designName: designName,
    translate: translate
  };
})();
