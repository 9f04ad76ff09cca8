// The settings page: the design previews and the languages. A choice is a
// cookie ("design" = its number, "language" = its code) that the program hears
// of at once; the page then marks the choice and speaks the language.
(function () {
  "use strict";

  var svgNamespace = "http://www.w3.org/2000/svg";
  // The preview is the wallpaper at this fraction of a 1080-line screen; the
  // live layer's place and size shrink with it (1rem of the start page).
  var previewHeight = 82;
  var rem = previewHeight / 100;
  var places = {
    "top-center": { top: 9, centre: true },
    "top-right": { top: 7, right: 7 },
    "right": { middle: true, right: 8 },
    "bottom-right": { bottom: 12, right: 7 },
    "center": { middle: true, centre: true }
  };

  function element(tag, className) {
    var made = document.createElement(tag);
    if (className)
      made.className = className;
    return made;
  }

  // A tiny dial at ten past ten, as watches are shown.
  function miniDial(look, size) {
    var svg = document.createElementNS(svgNamespace, "svg");
    svg.setAttribute("viewBox", "0 0 200 200");
    svg.setAttribute("width", size);
    svg.setAttribute("height", size);
    var parts = [
      ["circle", { cx: 100, cy: 100, r: 94, fill: look.colour, "fill-opacity": 0.12, stroke: look.colour, "stroke-width": 6, "stroke-opacity": 0.5 }],
      ["line", { x1: 100, y1: 108, x2: 100, y2: 52, stroke: look.colour, "stroke-width": 14, "stroke-linecap": "round", transform: "rotate(305 100 100)" }],
      ["line", { x1: 100, y1: 110, x2: 100, y2: 26, stroke: look.colour, "stroke-width": 9, "stroke-linecap": "round", transform: "rotate(54 100 100)" }],
      ["circle", { cx: 100, cy: 100, r: 11, fill: look.accent }]
    ];
    for (var i = 0; i < parts.length; ++i) {
      var part = document.createElementNS(svgNamespace, parts[i][0]);
      for (var name in parts[i][1])
        part.setAttribute(name, parts[i][1][name]);
      svg.appendChild(part);
    }
    return svg;
  }

  function miniLayer(look) {
    var mini = element("span", "mini");
    var size = look.clockSize * rem;
    var place = places[look.position] || places.center;
    if (look.clock === "analog") {
      mini.appendChild(miniDial(look, size));
    } else {
      mini.textContent = "10:09";
      mini.style.fontFamily = look.font;
      mini.style.fontWeight = look.clockWeight;
      mini.style.fontSize = size + "px";
      mini.style.color = look.colour;
      mini.style.textShadow = look.shadow;
      mini.style.letterSpacing = look.letterSpacing;
    }
    if (place.top !== undefined)
      mini.style.top = place.top * rem + "px";
    if (place.bottom !== undefined)
      mini.style.bottom = place.bottom * rem + "px";
    if (place.middle)
      mini.style.top = (previewHeight - size) * 0.42 + "px";
    if (place.right !== undefined)
      mini.style.right = place.right * rem + "px";
    if (place.centre) {
      mini.style.left = "0";
      mini.style.right = "0";
      mini.style.textAlign = "center";
    }
    return mini;
  }

  function buildDesigns() {
    var list = document.getElementById("designs");
    var designs = Zintello.designs();
    for (var i = 0; i < designs.length; ++i) {
      var entry = designs[i];
      var card = element("button", "card");
      card.id = "design" + entry.number;
      card.setAttribute("data-design", entry.number);
      var thumb = element("span", "thumb");
      thumb.style.backgroundImage = "url('" + entry.preview + "')";
      thumb.appendChild(miniLayer(entry.layer));
      // In the corner that no design puts its clock into.
      var badge = element("span", "badge");
      badge.setAttribute("data-text", "chosen");
      thumb.appendChild(badge);
      card.appendChild(thumb);
      var name = element("span", "name");
      card.appendChild(name);
      card.addEventListener("click", chooseDesign, false);
      list.appendChild(card);
    }
  }

  function buildLanguages() {
    var list = document.getElementById("languages");
    for (var i = 0; i < Zintello.languages.length; ++i) {
      var code = Zintello.languages[i];
      var button = element("button", "language");
      button.id = "language-" + code;
      button.setAttribute("data-language", code);
      button.setAttribute("lang", code);
      // Each language is named in its own words, so that everyone finds theirs.
      button.textContent = Zintello.text("languageName", code);
      button.addEventListener("click", chooseLanguage, false);
      list.appendChild(button);
    }
  }

  function markChosen(selector, attribute, value) {
    var items = document.querySelectorAll(selector);
    for (var i = 0; i < items.length; ++i) {
      var chosen = items[i].getAttribute(attribute) === String(value);
      items[i].className = items[i].className.replace(/\s*\bchosen\b/g, "") + (chosen ? " chosen" : "");
    }
  }

  function show() {
    var code = Zintello.language();
    Zintello.translate(code);
    var cards = document.querySelectorAll(".card");
    for (var i = 0; i < cards.length; ++i) {
      var entry = Zintello.findDesign(cards[i].getAttribute("data-design"));
      cards[i].querySelector(".name").textContent = Zintello.designName(entry, code);
      cards[i].title = Zintello.designName(entry, code);
    }
    var design = Zintello.design();
    markChosen(".card", "data-design", design ? design.number : "");
    markChosen(".language", "data-language", code);
  }

  function chooseDesign() {
    Zintello.setCookie("design", this.getAttribute("data-design"));
    show();
  }

  function chooseLanguage() {
    Zintello.setCookie("language", this.getAttribute("data-language"));
    show();
  }

  // Only the desktop program gives its pages the start cookie: without it the
  // page is in the screensaver's dialog, whose choice shows at its next start.
  if (Zintello.cookie("background_reset") === null)
    document.querySelector(".intro").setAttribute("data-text", "designIntroScreensaver");

  buildDesigns();
  buildLanguages();
  show();
})();
