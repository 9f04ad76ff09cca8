// The live layer of the start page: greeting, clock, date and week in the
// chosen design and language. It wakes once a minute, on the minute, and does
// nothing in between, so the desktop costs no CPU.
(function () {
  "use strict";

  var design = Zintello.design();
  var code = Zintello.language();
  var texts = function (key) { return Zintello.text(key, code); };
  var element = function (id) { return document.getElementById(id); };
  var svgNamespace = "http://www.w3.org/2000/svg";
  var layer = element("layer");
  var look = design ? design.layer : {};

  function fit() {
    var unit = Math.min(window.innerHeight / 100, window.innerWidth / 177.78);
    if (unit > 0)
      document.documentElement.style.fontSize = unit + "px";
  }

  function two(number) {
    return (number < 10 ? "0" : "") + number;
  }

  // The ISO 8601 week: the week with the year's first Thursday is week 1.
  function isoWeek(date) {
    var thursday = new Date(date.getFullYear(), date.getMonth(), date.getDate());
    thursday.setDate(thursday.getDate() + 3 - (thursday.getDay() + 6) % 7);
    var firstThursday = new Date(thursday.getFullYear(), 0, 4);
    firstThursday.setDate(firstThursday.getDate() + 3 - (firstThursday.getDay() + 6) % 7);
    return 1 + Math.round((thursday - firstThursday) / (7 * 24 * 60 * 60 * 1000));
  }

  function greeting(hour) {
    if (hour >= 5 && hour < 12)
      return texts("greetingMorning");
    if (hour >= 12 && hour < 18)
      return texts("greetingAfternoon");
    if (hour >= 18 && hour < 22)
      return texts("greetingEvening");
    return texts("greetingNight");
  }

  function buildDial() {
    var ticks = element("ticks");
    for (var i = 0; i < 60; ++i) {
      var hourMark = i % 5 === 0;
      var tick = document.createElementNS(svgNamespace, "line");
      tick.setAttribute("x1", "100");
      tick.setAttribute("x2", "100");
      tick.setAttribute("y1", hourMark ? "12" : "10");
      tick.setAttribute("y2", hourMark ? "26" : "15");
      tick.setAttribute("stroke-width", hourMark ? "3.5" : "1.4");
      tick.setAttribute("transform", "rotate(" + i * 6 + " 100 100)");
      ticks.appendChild(tick);
    }
  }

  function applyDesign() {
    if (!design)
      return;
    layer.className = look.position + (look.clock === "analog" ? " analog" : "");
    layer.setAttribute("data-design", design.number);
    layer.style.fontFamily = look.font;
    layer.style.fontWeight = look.textWeight;
    layer.style.color = look.colour;
    layer.style.textShadow = look.shadow;
    layer.style.letterSpacing = look.letterSpacing;
    layer.style.textTransform = look.uppercase ? "uppercase" : "none";
    element("greeting").style.color = look.accent;
    element("rule").style.background = look.accent;
    var clock = element("clock");
    clock.style.fontSize = look.clockSize + "rem";
    clock.style.fontWeight = look.clockWeight;
    var dial = element("dial");
    dial.style.width = look.clockSize + "rem";
    dial.style.height = look.clockSize + "rem";
    element("face").setAttribute("fill", look.colour);
    element("face").setAttribute("fill-opacity", "0.1");
    element("face").setAttribute("stroke", look.colour);
    element("face").setAttribute("stroke-opacity", "0.35");
    element("face").setAttribute("stroke-width", "2");
    element("ticks").setAttribute("stroke", look.colour);
    element("ticks").setAttribute("stroke-linecap", "round");
    element("hourHand").setAttribute("stroke", look.colour);
    element("hourHand").setAttribute("stroke-width", "8");
    element("hourHand").setAttribute("stroke-linecap", "round");
    element("minuteHand").setAttribute("stroke", look.colour);
    element("minuteHand").setAttribute("stroke-width", "4.5");
    element("minuteHand").setAttribute("stroke-linecap", "round");
    element("pin").setAttribute("fill", look.accent);
  }

  // Without the desktop program's start cookie the page is not lying on the
  // desktop but shown on its own (the screensaver): then it paints the
  // design's wallpaper itself, the one that fits the window's shape, covering
  // the window. The bitmap is drawn once into a canvas of the window's size
  // and let go: as a CSS background the engine would hold the file and its
  // decoded picture, several times the screen's pixels, as long as it shows.
  var backdropSize = null;
  var backdropPicture = null;

  function letGo(picture) {
    picture.onload = null;
    picture.src = "";
  }

  function showBackdropWhenAlone() {
    if (!design || Zintello.cookie("background_reset") !== null)
      return;
    var ratio = window.devicePixelRatio || 1;
    var width = Math.round(window.innerWidth * ratio), height = Math.round(window.innerHeight * ratio);
    if (backdropSize === width + "x" + height)
      return;
    backdropSize = width + "x" + height;
    var wide = window.innerWidth / Math.max(1, window.innerHeight) > window.ZintelloDesigns.wideScreenRatio;
    // Only the picture for the latest size is drawn.
    if (backdropPicture)
      letGo(backdropPicture);
    var picture = backdropPicture = new Image();
    picture.onload = function () {
      var canvas = element("backdrop");
      canvas.width = width;
      canvas.height = height;
      var context = canvas.getContext("2d");
      context.fillStyle = "#000";
      context.fillRect(0, 0, width, height);
      var scale = Math.max(width / picture.width, height / picture.height);
      var drawnWidth = picture.width * scale, drawnHeight = picture.height * scale;
      context.drawImage(picture, (width - drawnWidth) / 2, (height - drawnHeight) / 2, drawnWidth, drawnHeight);
      canvas.style.display = "block";
      backdropPicture = null;
      letGo(picture);
    };
    picture.src = wide ? design.wallpapers.wide : design.wallpapers.other;
  }

  // The desktop program adds its start cookie at every start, after the one
  // it stored the time before; keep one, so that the stored cookies do not
  // grow from start to start. Each deletion takes away one of them.
  function keepOneStartCookie() {
    var count = (document.cookie.match(/(^|;\s*)background_reset=/g) || []).length;
    if (count < 2)
      return;
    var path = decodeURIComponent(window.location.pathname.replace(/[^\/]*$/, ""));
    for (var i = 0; i < count; ++i)
      document.cookie = "background_reset=; path=" + path + "; expires=Thu, 01 Jan 1970 00:00:00 GMT";
    document.cookie = "background_reset=1; path=" + path;
  }

  // Changes the text in place: the engine paints the part of the page under a
  // replaced text node twice, at every minute.
  function showText(id, text) {
    var node = element(id).firstChild;
    if (node && node.nodeType === Node.TEXT_NODE && !node.nextSibling) {
      if (node.data !== text)
        node.data = text;
    } else {
      element(id).textContent = text;
    }
  }

  function render(now) {
    var hours = now.getHours();
    var minutes = now.getMinutes();
    showText("greeting", greeting(hours));
    if (texts("twelveHour")) {
      showText("time", ((hours + 11) % 12 + 1) + ":" + two(minutes));
      showText("period", hours < 12 ? texts("am") : texts("pm"));
    } else {
      showText("time", two(hours) + ":" + two(minutes));
      showText("period", "");
    }
    showText("date", Zintello.format(texts("dateFormat"), {
      weekday: texts("weekdays")[now.getDay()],
      day: now.getDate(),
      month: texts("months")[now.getMonth()]
    }));
    showText("week", Zintello.format(texts("weekFormat"), { week: isoWeek(now) }));
    element("hourHand").setAttribute("transform", "rotate(" + ((hours % 12) * 30 + minutes / 2) + " 100 100)");
    element("minuteHand").setAttribute("transform", "rotate(" + minutes * 6 + " 100 100)");
  }

  var nextTick = null;

  function tick() {
    var now = new Date();
    render(now);
    var untilNextMinute = 60000 - (now.getSeconds() * 1000 + now.getMilliseconds());
    window.clearTimeout(nextTick);
    nextTick = window.setTimeout(tick, untilNextMinute + 20);
  }

  document.documentElement.lang = code;
  fit();
  // The windows that show the page are often sized after the load began.
  window.addEventListener("resize", function () {
    fit();
    showBackdropWhenAlone();
  }, false);
  // The program tells when the wall clock jumped (a wake-up, a new time); the
  // timer of the next tick runs on a clock that stood still meanwhile.
  window.addEventListener("clockchange", tick, false);
  keepOneStartCookie();
  buildDial();
  applyDesign();
  showBackdropWhenAlone();
  tick();
  layer.className += " ready";
})();
