// The viewer of `zebscribe graph --format html`. It reads the graph data of the
// page, lays each graph out in layers by itself (no Graphviz), and draws into
// one SVG only what is in view: nodes and edges with their text while they
// are few enough to read, else an overview of every node, one path per colour.
(function () {
  'use strict';

  // Text is measured by an estimate, so a page lays out the same everywhere.
  const CHAR = 6.7, BOLD_CHAR = 7.8, LINE = 15, PAD = 10, MAX_CHARS = 48;
  const LAYER_GAP = 46, ITEM_GAP = 28, DUMMY_WIDTH = 10;
  const BOX_PAD = 16, BOX_TITLE = 52;
  const DETAIL_LIMIT = 1500;   // the most items drawn one by one; more in view: the overview
  const TEXT_SCALE = 0.3;      // zoomed in this far: nodes carry their text
  const LABEL_SCALE = 0.7;     // and edges name their tensor
  const DUMMY_BUDGET = 200000; // long edges routed around nodes, up to this many bends
  const SWEEPS = 6;

  const NS = 'http://www.w3.org/2000/svg';
  const $ = (id) => document.getElementById(id);
  const svg = $('drawing'), scene = $('scene'), panel = $('panel'), results = $('results');
  const groups = {clusters: $('clusters'), overview: $('overview'), edges: $('edges'), nodes: $('nodes')};
  const data = JSON.parse($('graph-data').textContent);

  let view = null;                     // the graph on screen, laid out
  let transform = {x: 0, y: 0, k: 1};  // screen = world * k + (x, y)
  let drawn = null;                    // what the drawing in the page covers
  let frame = 0;
  let selected = -1;
  let matches = [], matchSet = new Set(), matchAt = -1, query = '';

  function element(name, attributes, parent) {
    const made = document.createElementNS(NS, name);
    for (const key in attributes) made.setAttribute(key, attributes[key]);
    if (parent) parent.appendChild(made);
    return made;
  }

  function html(name, text, parent, className) {
    const made = document.createElement(name);
    if (text !== undefined) made.textContent = text;
    if (className) made.className = className;
    if (parent) parent.appendChild(made);
    return made;
  }

  function clip(text) {
    return text.length > MAX_CHARS ? text.slice(0, MAX_CHARS - 1) + '\u2026' : text;
  }

  function hue(text) {
    let hash = 7;
    for (let i = 0; i < text.length; i++) hash = (hash * 31 + text.charCodeAt(i)) >>> 0;
    return hash % 360;
  }

  const tensorName = (t) => data.tensors[t][0] || data.tensors[t][1];

  // ---- The view: graphs, nodes, edges, and the items that are laid out ----

  function unpack(raw) {
    const v = {
      graphs: raw.graphs.map((g) => ({name: g[0], variable: g[1], parent: g[2], lines: g[3], items: [], children: [], links: []})),
      nodes: raw.nodes.map((n, i) => ({index: i, title: n[0], type: n[1], pkg: n[2], variable: n[3], graph: n[4], line: n[5],
        inputs: n[6], outputs: n[7], params: n[8], lines: n[9]})),
      edges: raw.edges.map((e) => ({from: e[0], to: e[1], tensor: e[2]})),
      items: [], producers: new Map(), consumers: new Map(), hay: null,
    };
    v.graphs.forEach((g, i) => { if (g.parent >= 0) v.graphs[g.parent].children.push(i); });
    for (const e of v.edges) {
      if (e.from >= 0) v.producers.set(e.tensor, e.from);
      if (e.to >= 0) (v.consumers.get(e.tensor) || v.consumers.set(e.tensor, []).get(e.tensor)).push(e.to);
    }
    return v;
  }

  function addItem(v, item) {
    item.lines = item.lines.map(clip);
    const widest = item.lines.reduce((m, l, i) => Math.max(m, l.length * (i === 0 && item.kind === 'node' ? BOLD_CHAR : CHAR)), 0);
    item.w = Math.max(item.kind === 'node' ? 90 : 70, widest + 2 * PAD);
    item.h = item.kind === 'node' ? item.lines.length * LINE + PAD : 34;
    v.items.push(item);
    v.graphs[item.graph].items.push(item);
    return item;
  }

  function makeItems(v) {
    for (const n of v.nodes) n.item = addItem(v, {kind: 'node', node: n, graph: n.graph, lines: n.lines});
    const markers = new Map();
    const marker = (kind, tensor, graph) => {
      const key = kind + tensor;
      if (!markers.has(key)) markers.set(key, addItem(v, {kind, tensor, graph, lines: [tensorName(tensor)]}));
      return markers.get(key);
    };
    for (const e of v.edges) {
      e.source = e.from >= 0 ? v.nodes[e.from].item : marker('input', e.tensor, v.nodes[e.to].graph);
      e.target = e.to >= 0 ? v.nodes[e.to].item : marker('output', e.tensor, v.nodes[e.from].graph);
    }
    v.graphs.forEach((g, i) => {
      if (g.parent >= 0) g.box = addItem(v, {kind: 'box', child: i, graph: g.parent, lines: g.lines});
    });
  }

  function ancestors(v, graph) {
    const chain = [];
    for (let g = graph; g >= 0; g = v.graphs[g].parent) chain.push(g);
    return chain;
  }

  // The item that stands for `item` among the items of graph `level`.
  function lifted(v, item, level) {
    let g = item.graph;
    if (g === level) return item;
    while (v.graphs[g].parent !== level) g = v.graphs[g].parent;
    return v.graphs[g].box;
  }

  // Each edge is laid out in the innermost graph that holds both its ends.
  function assignLinks(v) {
    for (const e of v.edges) {
      if (e.source === e.target) continue;
      const up = new Set(ancestors(v, e.source.graph));
      const level = ancestors(v, e.target.graph).find((g) => up.has(g));
      const a = lifted(v, e.source, level), b = lifted(v, e.target, level);
      if (a !== b) v.graphs[level].links.push(e.link = {a, b, edge: e, points: []});
    }
  }

  // ---- Layered layout ----

  // Items of one graph, centres in its own coordinates; links get their bends.
  function layoutLayered(items, links) {
    const n = items.length;
    items.forEach((it, i) => { it.local = i; });
    const out = Array.from({length: n}, () => []);
    const indegree = new Int32Array(n);
    for (const l of links) { out[l.a.local].push(l.b.local); indegree[l.b.local]++; }
    // Order: sources first, in the order the recording made them; a cycle is
    // broken where the order meets it.
    const order = [], rank = new Int32Array(n).fill(-1), queue = [];
    for (let i = 0; i < n; i++) if (indegree[i] === 0) queue.push(i);
    for (let head = 0, next = 0; order.length < n;) {
      if (head === queue.length) {
        while (rank[next] >= 0) next++;
        queue.push(next);
      }
      const u = queue[head++];
      if (rank[u] >= 0) continue;
      rank[u] = order.length;
      order.push(u);
      for (const w of out[u]) if (--indegree[w] === 0) queue.push(w);
    }
    const forward = links.map((l) => rank[l.a.local] < rank[l.b.local]);
    const succ = Array.from({length: n}, () => []), pred = Array.from({length: n}, () => []);
    links.forEach((l, i) => {
      const u = forward[i] ? l.a.local : l.b.local, w = forward[i] ? l.b.local : l.a.local;
      succ[u].push(w);
      pred[w].push(u);
    });
    // Layers: the longest path from a source; a source sits just above its
    // first consumer, so a late input does not start at the top.
    const layer = new Int32Array(n);
    for (const u of order) for (const w of succ[u]) layer[w] = Math.max(layer[w], layer[u] + 1);
    for (let u = 0; u < n; u++) {
      if (pred[u].length === 0 && succ[u].length > 0) layer[u] = Math.min(...succ[u].map((w) => layer[w])) - 1;
    }
    // Vertices: the items, then a bend per layer crossed by a long link.
    const vLayer = Array.from(layer), vWidth = items.map((it) => it.w), vKey = Array.from(rank);
    const up = Array.from({length: n}, () => []), down = Array.from({length: n}, () => []);
    const connect = (u, w) => { down[u].push(w); up[w].push(u); };
    let budget = DUMMY_BUDGET;
    const chains = links.map((l, i) => {
      const u = forward[i] ? l.a.local : l.b.local, w = forward[i] ? l.b.local : l.a.local;
      const span = layer[w] - layer[u];
      if (span === 1) { connect(u, w); return []; }
      if (span < 1 || span - 1 > budget) return [];
      budget -= span - 1;
      const chain = [];
      let previous = u;
      for (let k = layer[u] + 1; k < layer[w]; k++) {
        const d = vLayer.length;
        vLayer.push(k); vWidth.push(DUMMY_WIDTH); vKey.push(rank[u] + 0.5); up.push([]); down.push([]);
        connect(previous, d);
        chain.push(d);
        previous = d;
      }
      connect(previous, w);
      return forward[i] ? chain : chain.reverse();
    });
    const layerCount = vLayer.reduce((m, k) => Math.max(m, k + 1), 0);
    const rows = Array.from({length: layerCount}, () => []);
    vLayer.forEach((k, v) => rows[k].push(v));
    const position = new Float64Array(vLayer.length);
    for (const row of rows) {
      row.sort((p, q) => vKey[p] - vKey[q]);
      row.forEach((v, i) => { position[v] = i; });
    }
    orderRows(rows, up, down, position);
    const x = placeRows(rows, up, down, vWidth);
    // Rows from the top; items centred in theirs.
    const rowTop = [], rowHeight = rows.map((row) => row.reduce((m, v) => Math.max(m, v < n ? items[v].h : 0), 0));
    let y = 0;
    for (let k = 0; k < layerCount; k++) { rowTop.push(y); y += rowHeight[k] + LAYER_GAP; }
    let left = Infinity, right = -Infinity;
    vLayer.forEach((k, v) => { left = Math.min(left, x[v] - vWidth[v] / 2); right = Math.max(right, x[v] + vWidth[v] / 2); });
    items.forEach((it, i) => { it.x = x[i] - left; it.y = rowTop[layer[i]] + rowHeight[layer[i]] / 2; });
    links.forEach((l, i) => {
      l.points = chains[i].map((d) => [x[d] - left, rowTop[vLayer[d]] + rowHeight[vLayer[d]] / 2]);
    });
    return {width: n === 0 ? 0 : right - left, height: Math.max(0, y - LAYER_GAP)};
  }

  // Barycentre sweeps, down and up, to cut crossings.
  function orderRows(rows, up, down, position) {
    for (let sweep = 0; sweep < SWEEPS; sweep++) {
      const downward = sweep % 2 === 0;
      const sequence = downward ? rows.slice(1) : rows.slice(0, -1).reverse();
      const neighbours = downward ? up : down;
      for (const row of sequence) {
        const centre = new Map();
        for (const v of row) {
          const near = neighbours[v];
          let sum = 0;
          for (const w of near) sum += position[w];
          centre.set(v, near.length ? sum / near.length : position[v]);
        }
        row.sort((p, q) => centre.get(p) - centre.get(q) || position[p] - position[q]);
        row.forEach((v, i) => { position[v] = i; });
      }
    }
  }

  // Each vertex as near the mean of its neighbours as its row allows.
  function placeRows(rows, up, down, width) {
    const x = new Float64Array(width.length);
    for (const row of rows) {
      let at = 0;
      for (const v of row) { x[v] = at + width[v] / 2; at += width[v] + ITEM_GAP; }
    }
    const gap = (p, q) => (width[p] + width[q]) / 2 + ITEM_GAP;
    for (let pass = 0; pass < 8; pass++) {
      const downward = pass % 2 === 0;
      const sequence = downward ? rows.slice(1) : rows.slice(0, -1).reverse();
      const neighbours = downward ? up : down;
      for (const row of sequence) {
        const wanted = row.map((v) => {
          const near = neighbours[v];
          if (near.length === 0) return x[v];
          let sum = 0;
          for (const w of near) sum += x[w];
          return sum / near.length;
        });
        const fromLeft = wanted.slice(), fromRight = wanted.slice();
        for (let i = 1; i < row.length; i++) fromLeft[i] = Math.max(wanted[i], fromLeft[i - 1] + gap(row[i - 1], row[i]));
        for (let i = row.length - 2; i >= 0; i--) fromRight[i] = Math.min(wanted[i], fromRight[i + 1] - gap(row[i], row[i + 1]));
        for (let i = 0; i < row.length; i++) {
          x[row[i]] = (fromLeft[i] + fromRight[i]) / 2;
          if (i > 0) x[row[i]] = Math.max(x[row[i]], x[row[i - 1]] + gap(row[i - 1], row[i]));
        }
      }
    }
    return x;
  }

  // Subgraphs first, each as one box in its parent's layout.
  function layoutGraph(v, index) {
    const g = v.graphs[index];
    for (const child of g.children) {
      const size = layoutGraph(v, child);
      const box = v.graphs[child].box;
      const titleWidth = box.lines.reduce((m, l) => Math.max(m, l.length), 0) * CHAR;
      box.w = Math.max(size.width, titleWidth, 120) + 2 * BOX_PAD;
      box.h = Math.max(size.height, 24) + BOX_TITLE + BOX_PAD;
    }
    const size = layoutLayered(g.items, g.links);
    g.width = size.width;
    g.height = size.height;
    return size;
  }

  // From each graph's own coordinates to the page's.
  function place(v, index, left, top) {
    const g = v.graphs[index];
    g.left = left;
    g.top = top;
    for (const it of g.items) {
      it.cx = left + it.x;
      it.cy = top + it.y;
      it.x0 = it.cx - it.w / 2; it.y0 = it.cy - it.h / 2; it.x1 = it.cx + it.w / 2; it.y1 = it.cy + it.h / 2;
      if (it.kind === 'box') place(v, it.child, it.x0 + BOX_PAD, it.y0 + BOX_TITLE);
    }
    for (const l of g.links) l.points = l.points.map(([x, y]) => [left + x, top + y]);
  }

  // A node that reads what it writes: a loop on its right.
  function loop(it) {
    const x = it.x1, y = it.cy, r = Math.min(it.h / 2, 20);
    return `M${x},${y - r / 2}C${x + 2 * r},${y - 2 * r} ${x + 2 * r},${y + 2 * r} ${x},${y + r / 2}`;
  }

  function routeEdges(v) {
    for (const e of v.edges) {
      if (e.source === e.target) {
        Object.assign(e, {points: [[e.source.x1, e.source.cy]], d: loop(e.source), labelAt: [e.source.x1 + 30, e.source.cy]});
        Object.assign(e, {x0: e.source.x1, x1: e.source.x1 + 40, y0: e.source.y0, y1: e.source.y1});
        continue;
      }
      const points = [[e.source.cx, e.source.y1]];
      if (e.link) points.push(...e.link.points);
      points.push([e.target.cx, e.target.y0]);
      e.points = points;
      e.x0 = Math.min(...points.map((p) => p[0])); e.x1 = Math.max(...points.map((p) => p[0]));
      e.y0 = Math.min(...points.map((p) => p[1])); e.y1 = Math.max(...points.map((p) => p[1]));
      let d = `M${points[0][0].toFixed(1)},${points[0][1].toFixed(1)}`;
      for (let i = 1; i < points.length; i++) {
        const [ax, ay] = points[i - 1], [bx, by] = points[i];
        const bend = Math.max(12, Math.abs(by - ay) / 2);
        d += `C${ax.toFixed(1)},${(ay + bend).toFixed(1)} ${bx.toFixed(1)},${(by - bend).toFixed(1)} ${bx.toFixed(1)},${by.toFixed(1)}`;
      }
      e.d = d;
      const middle = points[Math.floor(points.length / 2)], before = points[Math.floor(points.length / 2) - 1];
      e.labelAt = [(middle[0] + before[0]) / 2, (middle[1] + before[1]) / 2];
    }
  }

  function layout(raw) {
    const started = performance.now();
    const v = unpack(raw);
    makeItems(v);
    assignLinks(v);
    const size = layoutGraph(v, 0);
    place(v, 0, 0, 0);
    routeEdges(v);
    v.width = Math.max(size.width, 200);
    v.height = Math.max(size.height, 60);
    v.layoutMs = performance.now() - started;
    return v;
  }

  // ---- Drawing ----

  function worldRect(margin) {
    const box = svg.getBoundingClientRect();
    const w = box.width / transform.k, h = box.height / transform.k;
    const x0 = -transform.x / transform.k, y0 = -transform.y / transform.k;
    return {x0: x0 - w * margin, y0: y0 - h * margin, x1: x0 + w * (1 + margin), y1: y0 + h * (1 + margin)};
  }

  const meets = (a, r) => a.x1 >= r.x0 && a.x0 <= r.x1 && a.y1 >= r.y0 && a.y0 <= r.y1;
  const within = (a, r) => a.x0 >= r.x0 && a.x1 <= r.x1 && a.y0 >= r.y0 && a.y1 <= r.y1;

  function clear() {
    for (const key in groups) groups[key].textContent = '';
  }

  function drawNode(it, parent, withText) {
    const n = it.node, h = hue(n.type);
    const g = element('g', {class: 'node', 'data-node': n.index, transform: `translate(${it.x0.toFixed(1)},${it.y0.toFixed(1)})`}, parent);
    if (matchSet.has(n.index)) g.classList.add('match');
    if (n.index === selected) g.classList.add('selected');
    element('rect', {width: it.w, height: it.h, rx: 7, fill: `hsl(${h},62%,93%)`, stroke: `hsl(${h},38%,46%)`}, g);
    element('title', {}, g).textContent = `${n.title} \u00b7 ${n.type}`;
    if (withText) it.lines.forEach((line, i) => {
      const text = element('text', {x: it.w / 2, y: PAD / 2 + LINE * (i + 0.75), 'text-anchor': 'middle',
        class: i === 0 ? 'name' : i === 1 ? 'type' : 'weights'}, g);
      text.textContent = line;
    });
  }

  function markerShape(it) {
    const w = it.w, h = it.h;
    return it.kind === 'input' ? `M0,0H${w}V${h - 9}L${w / 2},${h}L0,${h - 9}Z` : `M${w / 2},0L${w},9V${h}H0V9Z`;
  }

  function drawMarker(it, parent, withText) {
    const g = element('g', {class: `marker ${it.kind}`, transform: `translate(${it.x0.toFixed(1)},${it.y0.toFixed(1)})`}, parent);
    element('path', {d: markerShape(it)}, g);
    if (withText) element('text', {x: it.w / 2, y: it.kind === 'input' ? 16 : 24, 'text-anchor': 'middle'}, g).textContent = it.lines[0];
    element('title', {}, g).textContent = `graph ${it.kind}: ${tensorName(it.tensor)}, ${data.tensors[it.tensor][2]}`;
  }

  function drawBox(it, parent) {
    const g = element('g', {class: 'cluster'}, parent);
    element('rect', {x: it.x0, y: it.y0, width: it.w, height: it.h, rx: 8}, g);
    it.lines.forEach((line, i) => {
      element('text', {x: it.x0 + BOX_PAD, y: it.y0 + 16 + 13 * i}, g).textContent = line;
    });
  }

  function drawEdges(rect, labels) {
    for (const e of view.edges) {
      if (!meets(e, rect)) continue;
      const path = element('path', {class: 'edge', d: e.d, 'marker-end': 'url(#arrow)'}, groups.edges);
      const t = data.tensors[e.tensor];
      element('title', {}, path).textContent = `${tensorName(e.tensor)}: ${t[2]}`;
      if (!labels) continue;
      const text = element('text', {class: 'edge-label', x: e.labelAt[0] + 5, y: e.labelAt[1]}, groups.edges);
      text.textContent = clip(tensorName(e.tensor));
      element('tspan', {x: e.labelAt[0] + 5, dy: 11}, text).textContent = clip(t[2]);
    }
  }

  function drawDetail(items, rect, withText, labels) {
    for (const it of items) {
      if (it.kind === 'box') drawBox(it, groups.clusters);
    }
    drawEdges(rect, labels);
    for (const it of items) {
      if (it.kind === 'node') drawNode(it, groups.nodes, withText);
      else if (it.kind !== 'box') drawMarker(it, groups.nodes, withText);
    }
    if (view.items.length === 0) {
      element('text', {class: 'note', x: 20, y: 30}, groups.nodes).textContent = 'no nodes recorded';
    }
  }

  // Every node as a rectangle in one path per colour, every edge as lines.
  function drawOverview() {
    const paths = new Map();
    const add = (key, style, d) => {
      if (!paths.has(key)) paths.set(key, {style, d: []});
      paths.get(key).d.push(d);
    };
    for (const it of view.items) {
      const d = `M${it.x0.toFixed(0)},${it.y0.toFixed(0)}h${it.w.toFixed(0)}v${it.h.toFixed(0)}h${(-it.w).toFixed(0)}Z`;
      if (it.kind === 'node') {
        const h = hue(it.node.type);
        const hit = it.node.index === selected || matchSet.has(it.node.index);
        add(hit ? 'hit' : 'n' + h, hit ? 'fill:#f59e0b;stroke:#b45309' : `fill:hsl(${h},62%,88%);stroke:hsl(${h},38%,46%)`, d);
      } else if (it.kind === 'box') {
        add('box', 'fill:none;stroke:#98a2b3;stroke-dasharray:5 3', d);
      } else {
        add(it.kind, it.kind === 'input' ? 'fill:#dff3e4;stroke:#3f8a56' : 'fill:#fdf0d5;stroke:#b7791f', d);
      }
    }
    const lines = view.edges.map((e) => 'M' + e.points.map((p) => `${p[0].toFixed(0)},${p[1].toFixed(0)}`).join('L'));
    element('path', {d: lines.join(''), style: 'fill:none;stroke:#98a2b3;stroke-width:1', 'vector-effect': 'non-scaling-stroke'}, groups.overview);
    for (const [key, path] of paths) {
      if (key !== 'hit') element('path', {d: path.d.join(''), style: path.style, 'vector-effect': 'non-scaling-stroke'}, groups.overview);
    }
    if (paths.has('hit')) element('path', {d: paths.get('hit').d.join(''), style: paths.get('hit').style + ';stroke-width:2', 'vector-effect': 'non-scaling-stroke'}, groups.overview);
  }

  function render(force) {
    frame = 0;
    scene.setAttribute('transform', `translate(${transform.x.toFixed(2)},${transform.y.toFixed(2)}) scale(${transform.k.toFixed(5)})`);
    const rect = worldRect(0);
    const withText = transform.k >= TEXT_SCALE, labels = transform.k >= LABEL_SCALE;
    if (!force && drawn && drawn.detailed && within(rect, drawn.rect) && drawn.withText === withText && drawn.labels === labels) return;
    let area = worldRect(0.5);
    let items = view.items.filter((it) => meets(it, area));
    if (items.length > DETAIL_LIMIT) {
      area = rect;
      items = view.items.filter((it) => meets(it, area));
    }
    const detailed = items.length <= DETAIL_LIMIT;
    if (!force && drawn && !drawn.detailed && !detailed) return;
    const started = performance.now();
    clear();
    if (detailed) drawDetail(items, area, withText, labels);
    else drawOverview();
    drawn = {rect: area, withText, labels, detailed};
    $('status').textContent = `${view.nodes.length} nodes, ${view.edges.length} edges; laid out in ${view.layoutMs.toFixed(0)} ms; ` +
      (detailed ? `${items.length} items drawn` : 'overview') + ` in ${(performance.now() - started).toFixed(0)} ms`;
  }

  function schedule() {
    if (!frame) frame = requestAnimationFrame(() => render(false));
  }

  function redraw() {
    if (frame) cancelAnimationFrame(frame);
    render(true);
  }

  // ---- Moving around ----

  function zoomAt(sx, sy, factor) {
    const k = Math.min(4, Math.max(0.002, transform.k * factor));
    transform.x = sx - (sx - transform.x) * (k / transform.k);
    transform.y = sy - (sy - transform.y) * (k / transform.k);
    transform.k = k;
    schedule();
  }

  function fit() {
    const box = svg.getBoundingClientRect();
    const k = Math.min(1.5, (box.width - 40) / view.width, (box.height - 40) / view.height);
    transform = {k, x: (box.width - view.width * k) / 2, y: Math.max(20, (box.height - view.height * k) / 2)};
    schedule();
  }

  // A graph too large to read whole opens at its top, at a readable size.
  function openView() {
    const box = svg.getBoundingClientRect();
    fit();
    if (transform.k >= 0.5) return;
    const k = Math.min(1, Math.max(0.5, (box.width - 40) / view.width));
    transform = {k, x: Math.max(20, (box.width - view.width * k) / 2), y: 20};
  }

  function focusNode(index) {
    const it = view.nodes[index].item, box = svg.getBoundingClientRect();
    transform.k = Math.max(transform.k, 0.9);
    transform.x = box.width / 2 - it.cx * transform.k;
    transform.y = box.height / 2 - it.cy * transform.k;
    select(index);
  }

  let drag = null;
  svg.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    const hit = event.target.closest && event.target.closest('.node');
    drag = {x: event.clientX, y: event.clientY, tx: transform.x, ty: transform.y, moved: false, node: hit ? Number(hit.dataset.node) : -1};
  });
  window.addEventListener('pointermove', (event) => {
    if (!drag) return;
    const dx = event.clientX - drag.x, dy = event.clientY - drag.y;
    if (!drag.moved && Math.abs(dx) + Math.abs(dy) < 4) return;
    drag.moved = true;
    svg.classList.add('dragging');
    transform.x = drag.tx + dx;
    transform.y = drag.ty + dy;
    schedule();
  });
  window.addEventListener('pointerup', () => {
    if (drag && !drag.moved && drag.node >= 0) select(drag.node);
    drag = null;
    svg.classList.remove('dragging');
  });
  svg.addEventListener('wheel', (event) => {
    event.preventDefault();
    const box = svg.getBoundingClientRect();
    zoomAt(event.clientX - box.left, event.clientY - box.top, Math.exp(-event.deltaY * (event.deltaMode ? 0.05 : 0.0015)));
  }, {passive: false});
  const zoomCentre = (factor) => { const box = svg.getBoundingClientRect(); zoomAt(box.width / 2, box.height / 2, factor); };
  $('zoom-in').addEventListener('click', () => zoomCentre(1.25));
  $('zoom-out').addEventListener('click', () => zoomCentre(0.8));
  $('fit').addEventListener('click', fit);
  window.addEventListener('resize', schedule);

  // ---- The panel ----

  function tensorRow(table, t, note) {
    const row = html('tr', undefined, table);
    html('td', tensorName(t), row);
    const cell = html('td', data.tensors[t][2] + (data.tensors[t][3] !== null && data.tensors[t][4] ? `, ${data.tensors[t][3]} bytes` : ''), row);
    if (note) cell.appendChild(note);
  }

  function nodeLink(index, prefix) {
    const span = html('div', prefix);
    const link = html('a', view.nodes[index].title, span);
    link.addEventListener('click', () => { focusNode(index); schedule(); });
    return span;
  }

  function section(title, rows) {
    if (rows.length === 0) return;
    html('h3', title, panel);
    const table = html('table', undefined, panel);
    for (const row of rows) row(table);
  }

  function showPanel(n) {
    panel.textContent = '';
    const close = html('button', '\u00d7', panel, 'close');
    close.addEventListener('click', () => select(-1));
    html('h2', n.title, panel);
    const type = html('div', undefined, panel);
    html('strong', n.type || '(no op type)', type, 'op-type');
    type.appendChild(document.createTextNode(n.pkg ? ` \u00b7 package ${n.pkg}` : ' \u00b7 no package'));
    section('Node', [['variable', n.variable], ['graph', view.graphs[n.graph].name], ['recorded at', `line ${n.line}`]]
      .map(([k, value]) => (table) => { const row = html('tr', undefined, table); html('td', k, row); html('td', value, row); }));
    section('Parameters', n.params.map(([name, value]) => (table) => {
      const row = html('tr', undefined, table); html('td', name || '(unnamed)', row); html('td', value, row);
    }));
    const isWeight = (t) => data.tensors[t][4] === 1;
    section('Inputs', n.inputs.filter((t) => !isWeight(t)).map((t) => (table) => {
      const producer = view.producers.get(t);
      tensorRow(table, t, producer !== undefined ? nodeLink(producer, 'from ') : html('div', 'graph input'));
    }));
    section('Weights', n.inputs.filter(isWeight).map((t) => (table) => tensorRow(table, t)));
    section('Outputs', n.outputs.map((t) => (table) => {
      const note = html('div');
      for (const c of view.consumers.get(t) || []) note.appendChild(nodeLink(c, 'to '));
      tensorRow(table, t, note);
    }));
    panel.hidden = false;
  }

  function select(index) {
    selected = index;
    if (index >= 0) showPanel(view.nodes[index]);
    else panel.hidden = true;
    redraw();
  }

  // ---- Search ----

  function runSearch() {
    const wanted = $('search').value.trim().toLowerCase();
    if (wanted === query) return;
    query = wanted;
    if (!view.hay) view.hay = view.nodes.map((n) => `${n.title}\n${n.type}\n${n.variable}`.toLowerCase());
    matches = wanted ? view.hay.reduce((found, text, i) => (text.includes(wanted) && found.push(i), found), []) : [];
    matchSet = new Set(matches);
    matchAt = -1;
    $('found').textContent = wanted ? `${matches.length} found` : '';
    results.textContent = '';
    for (const i of matches.slice(0, 100)) {
      const item = html('li', `${view.nodes[i].title} \u00b7 ${view.nodes[i].type}`, results);
      item.addEventListener('click', () => { results.hidden = true; focusNode(i); });
    }
    results.hidden = matches.length === 0;
    redraw();
  }

  let typing = 0;
  $('search').addEventListener('input', () => { clearTimeout(typing); typing = setTimeout(runSearch, 120); });
  $('search').addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      clearTimeout(typing);
      runSearch();
      if (matches.length === 0) return;
      matchAt = (matchAt + 1) % matches.length;
      results.hidden = true;
      focusNode(matches[matchAt]);
    } else if (event.key === 'Escape') {
      results.hidden = true;
    }
  });

  // ---- Start ----

  function showView(index) {
    view = layout(data.views[index]);
    selected = -1;
    query = '';
    matches = []; matchSet = new Set();
    panel.hidden = true;
    results.hidden = true;
    $('heading').textContent = view.graphs[0].lines.join(' \u00b7 ');
    openView();
    redraw();
  }

  const defs = element('defs', {}, svg);
  const arrow = element('marker', {id: 'arrow', viewBox: '0 0 10 10', refX: 10, refY: 5, markerWidth: 7, markerHeight: 7, orient: 'auto-start-reverse'}, defs);
  element('path', {d: 'M0,0L10,5L0,10Z', fill: '#98a2b3'}, arrow);
  document.title = `${data.title} \u2014 ZebScribe graph`;
  $('title').textContent = data.title;
  const choice = $('views');
  data.views.forEach((raw, i) => { html('option', raw.graphs[0][0], choice).value = i; });
  choice.hidden = data.views.length < 2;
  choice.addEventListener('change', () => showView(Number(choice.value)));
  showView(0);
  document.body.dataset.state = 'ready';
})();
