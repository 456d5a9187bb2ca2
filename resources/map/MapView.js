// Map page script shared by every language's page: OpenStreetMap tiles (unless the viewer sets
// MapOptions.onlineTiles to false before the page runs) over an offline coordinate grid, the car's marker with
// its speed and heading, and the recording's track coloured by speed. The viewer calls
// DrawCurrent(longitude, latitude) and DrawMotion(speed, course) with decimal texts, DrawTrack(points) once per
// recording and DrawEvents(marks) with the recording's events; a click on the track asks the viewer to seek to the
// nearest fix.
(function () {
  'use strict';
  var texts = window.MapTexts || {};
  var startZoom = 16;
  var map = L.map('map', { preferCanvas: true, zoomControl: true, maxZoom: 19 }).setView([37.5665, 126.978], startZoom);
  var trackRenderer = L.canvas({ tolerance: 6 });

  // The grid lies under the tiles: where no tile comes, the grid and its coordinates show.
  var gridSteps = [20, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005, 0.002, 0.001, 0.0005, 0.0002, 0.0001];
  function gridStep(zoom) {
    var pixelsPerDegree = 256 * Math.pow(2, zoom) / 360;
    for (var i = gridSteps.length - 1; i >= 0; --i) {
      if (gridSteps[i] * pixelsPerDegree >= 90) return gridSteps[i];
    }
    return gridSteps[0];
  }
  function degreeText(value, step, positive, negative) {
    var decimals = Math.max(0, Math.ceil(-Math.log10(step)));
    return Math.abs(value).toFixed(decimals) + '\u00b0' + (value >= 0 ? positive : negative);
  }
  var Grid = L.GridLayer.extend({
    createTile: function (coords) {
      var tile = document.createElement('canvas');
      var size = this.getTileSize();
      tile.width = size.x;
      tile.height = size.y;
      var g = tile.getContext('2d');
      var origin = L.point(coords.x * size.x, coords.y * size.y);
      var nw = map.unproject(origin, coords.z);
      var se = map.unproject(origin.add(size), coords.z);
      var step = gridStep(coords.z);
      g.fillStyle = '#e9e5dc';
      g.fillRect(0, 0, size.x, size.y);
      g.strokeStyle = '#b9b1a3';
      g.fillStyle = '#6d6556';
      g.font = '10px sans-serif';
      g.lineWidth = 1;
      for (var i = Math.ceil(nw.lng / step); i * step <= se.lng; ++i) {
        var lon = i * step;
        var x = Math.round(map.project([nw.lat, lon], coords.z).x - origin.x) + 0.5;
        g.beginPath(); g.moveTo(x, 0); g.lineTo(x, size.y); g.stroke();
        g.fillText(degreeText(lon, step, 'E', 'W'), x + 3, 11);
      }
      for (var k = Math.ceil(se.lat / step); k * step <= nw.lat; ++k) {
        var lat = k * step;
        var y = Math.round(map.project([lat, nw.lng], coords.z).y - origin.y) + 0.5;
        g.beginPath(); g.moveTo(0, y); g.lineTo(size.x, y); g.stroke();
        g.fillText(degreeText(lat, step, 'N', 'S'), 3, y - 3);
      }
      return tile;
    }
  });
  new Grid({ zIndex: 0 }).addTo(map);

  // Tiles are fetched for the places the map shows: a viewer that is told not to fetch them shows the grid
  // alone, without the offline notice.
  var onlineTiles = (window.MapOptions || {}).onlineTiles !== false;
  var tilesLoaded = 0;
  var tilesFailed = 0;
  if (onlineTiles) {
    var tiles = L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png', {
      maxZoom: 19, zIndex: 1, className: 'map-tiles',
      attribution: '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors'
    }).addTo(map);
    // Offline while the tiles of the current view fail and none of them came (a cached tile counts as come).
    var offlineNotice = document.getElementById('offline');
    offlineNotice.textContent = texts.offline || 'Offline';
    var setOffline = function (offline) { document.body.classList.toggle('offline', offline); };
    tiles.on('loading', function () { tilesLoaded = 0; tilesFailed = 0; });
    tiles.on('tileload', function () { ++tilesLoaded; setOffline(false); });
    tiles.on('tileerror', function () { ++tilesFailed; if (tilesLoaded === 0) setOffline(true); });
  }

  var carSvg = '<svg viewBox="0 0 36 36"><circle cx="18" cy="18" r="15" fill="#1565c0" fill-opacity="0.25"/>' +
      '<path d="M18 4 L27 28 L18 23 L9 28 Z" fill="#1565c0" stroke="#fff" stroke-width="2" stroke-linejoin="round"/>' +
      '</svg>';
  var car = L.marker([0, 0], {
    icon: L.divIcon({ className: 'car', html: carSvg + '<div class="speed"></div>', iconSize: [36, 36], iconAnchor: [18, 18] }),
    keyboard: false, interactive: false
  });
  var motion = { speed: null, course: null };

  function showMotion() {
    var element = car.getElement();
    if (!element) return;
    element.querySelector('svg').style.transform = 'rotate(' + (motion.course || 0) + 'deg)';
    var label = element.querySelector('.speed');
    label.textContent = motion.speed === null ? '' : Math.round(motion.speed) + ' ' + (texts.speedUnit || 'km/h');
  }

  function number(text) {
    var value = parseFloat(text);
    return isFinite(value) ? value : null;
  }

  window.DrawMotion = function (speed, course) {
    motion.speed = number(speed);
    motion.course = number(course);
    showMotion();
  };

  window.DrawCurrent = function (longitude, latitude) {
    var lon = number(longitude);
    var lat = number(latitude);
    if (lon === null || lat === null || Math.abs(lon) > 180 || Math.abs(lat) > 90) return;
    var position = L.latLng(lat, lon);
    car.setLatLng(position);
    if (!map.hasLayer(car)) car.addTo(map);
    showMotion();
    if (!position.equals(map.getCenter())) map.panTo(position, { animate: false });
  };

  // Speed bands in km/h and their colours, slow to fast.
  var bands = [[30, '#1a9850'], [60, '#66bd63'], [80, '#fdae61'], [100, '#f46d43'], [Infinity, '#d73027']];
  function band(speed) {
    for (var i = 0; i < bands.length; ++i) if (speed < bands[i][0]) return i;
    return bands.length - 1;
  }
  var trackLayer = L.layerGroup().addTo(map);
  var trackPoints = [];

  var player = null;
  if (window.qt && window.qt.webChannelTransport && window.QWebChannel) {
    new QWebChannel(window.qt.webChannelTransport, function (channel) { player = channel.objects.player; });
  }

  function seekNearest(run, clicked) {
    var target = map.latLngToContainerPoint(clicked);
    var best = null;
    var bestDistance = Infinity;
    run.forEach(function (point) {
      var distance = map.latLngToContainerPoint([point[1], point[0]]).distanceTo(target);
      if (distance < bestDistance) { bestDistance = distance; best = point; }
    });
    if (best && player) player.seek(best[4]);
  }

  // points: [longitude, latitude, speed km/h, course, media time ms] of each valid fix, in recording order.
  window.DrawTrack = function (points) {
    trackLayer.clearLayers();
    trackPoints = Array.isArray(points) ? points : [];
    function flush(run) {
      if (run.length < 2) return;
      L.polyline(run.map(function (p) { return [p[1], p[0]]; }),
                 { color: bands[band(run[0][2])][1], weight: 5, opacity: 0.9, renderer: trackRenderer,
                   bubblingMouseEvents: false })
          .on('click', function (event) { seekNearest(run, event.latlng); })
          .addTo(trackLayer);
    }
    // A segment takes the colour of the fix it starts from; a run of one colour is one line.
    var run = [];
    trackPoints.forEach(function (point) {
      var last = run[run.length - 1];
      if (last && band(last[2]) !== band(run[0][2])) {
        flush(run);
        run = [last];
      }
      run.push(point);
    });
    flush(run);
    if (!map.hasLayer(car) && trackPoints.length > 0) map.setView([trackPoints[0][1], trackPoints[0][0]], startZoom);
  };

  // An event is a small purple diamond, unlike the blue car and the green-to-red track, and lies under the car;
  // pointing at it names the event.
  var eventSvg = '<svg viewBox="0 0 16 16"><path d="M8 1 L15 8 L8 15 L1 8 Z" fill="#8e24aa" stroke="#fff" ' +
      'stroke-width="2" stroke-linejoin="round"/></svg>';
  var eventLayer = L.layerGroup().addTo(map);

  // marks: [longitude, latitude, "hard braking 0.60 g"] of each event with a place; replaces the marks before.
  window.DrawEvents = function (marks) {
    eventLayer.clearLayers();
    (Array.isArray(marks) ? marks : []).forEach(function (mark) {
      L.marker([mark[1], mark[0]], {
        icon: L.divIcon({ className: 'event-mark', html: eventSvg, iconSize: [16, 16], iconAnchor: [8, 8] }),
        keyboard: false, zIndexOffset: -1000
      }).bindTooltip(String(mark[2]), { direction: 'top', offset: [0, -8], className: 'event-tip' })
        .addTo(eventLayer);
    });
  };

  // What the page shows, as JSON text: for the viewer's tests and for looking at a page from outside.
  window.MapViewState = function () {
    var at = map.hasLayer(car) ? car.getLatLng() : null;
    return JSON.stringify({
      marker: at ? [at.lng, at.lat] : null,
      speed: motion.speed, course: motion.course,
      offline: document.body.classList.contains('offline'), onlineTiles: onlineTiles,
      tilesLoaded: tilesLoaded, tilesFailed: tilesFailed,
      trackPoints: trackPoints.length, trackLines: trackLayer.getLayers().length,
      eventMarks: eventLayer.getLayers().length,
      zoom: map.getZoom()
    });
  };
})();
