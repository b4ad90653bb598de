// Our marks on our own result page, run in the application world: the ticks,
// the sizes and the counts row. The program holds the ticks; this only draws
// what it is told and reports what the browser measured. Every text is set as
// text, never as markup. `command`:
//   {decorate: [[container id, key], ...], video: key, info: [key, heading, files]}
//       puts a tick under every picture, and one on a heading of the data files
//   {sizes: true}  returns [[key, index, width, height, bytes], ...] newly measured
//   {marks: [[key, index, ticked, word, forced], ...], heads: [[key, text]], counts: text}
(function (command) {
    var cells = window.__pictorraCells || (window.__pictorraCells = {});

    function link(path, text, cls) {
        var a = document.createElement('a');
        a.href = 'pictorra:' + path;
        a.className = cls;
        a.textContent = text;
        return a;
    }

    function addCell(key, index, img, holder) {
        var bar = document.createElement('span');
        bar.className = 'pick-bar';
        var tick = link('tick/' + key + '/' + index, '\u2611', 'pick-tick');
        var size = document.createElement('span');
        size.className = 'pick-size';
        size.textContent = '?';
        var word = document.createElement('span');
        word.className = 'pick-word';
        bar.appendChild(tick);
        bar.appendChild(size);
        bar.appendChild(word);
        holder.appendChild(bar);
        holder.classList.add('pick-cell');
        (cells[key] || (cells[key] = []))[index] = { img: img, cell: holder, tick: tick, size: size, word: word };
    }

    // The data files' heading leads the product's tables, after the video,
    // which has a tick of its own.
    function addInfo(info) {
        var box = document.getElementById('product-info');
        if (!box) {
            box = document.createElement('div');
            box.id = 'product-info';
            document.body.appendChild(box);
        }
        var part = document.createElement('div');
        part.className = 'product-part pick-info';
        var head = document.createElement('font');
        head.setAttribute('fontsize', '8');
        head.textContent = info[1];
        var tools = document.createElement('span');
        tools.className = 'pick-head';
        var tick = link('tick/' + info[0] + '/0', '\u2611', 'pick-tick');
        var files = document.createElement('span');
        files.className = 'pick-files';
        files.textContent = info[2];
        var word = document.createElement('span');
        word.className = 'pick-word';
        var note = document.createElement('span');
        note.className = 'pick-note';
        [tick, files, word, note].forEach(function (e) { tools.appendChild(e); });
        head.appendChild(tools);
        part.appendChild(head);
        var before = Array.prototype.find.call(box.children, function (c) { return !c.querySelector('video'); });
        box.insertBefore(part, before || null);
        cells[info[0]] = [{ cell: part, tick: tick, size: files, word: word, reported: true }];
        cells[info[0] + ':head'] = note;
    }

    function decorate(list, videoKey, info) {
        var counts = document.createElement('div');
        counts.id = 'pick-counts';
        document.body.insertBefore(counts, document.body.firstChild);
        list.forEach(function (entry) {
            var box = document.getElementById(entry[0]);
            if (!box)
                return;
            var head = box.querySelector('font[fontsize="8"]');
            if (head) {
                var tools = document.createElement('span');
                tools.className = 'pick-head';
                tools.appendChild(link('all/' + entry[1], '全选', 'pick-all'));
                tools.appendChild(link('none/' + entry[1], '全不选', 'pick-none'));
                var note = document.createElement('span');
                note.className = 'pick-note';
                tools.appendChild(note);
                head.appendChild(tools);
                (cells[entry[1] + ':head'] = note);
            }
            var images = box.getElementsByTagName('img');
            var found = Array.prototype.slice.call(images);
            found.forEach(function (img, index) {
                var holder = img.parentElement;
                if (holder === box || holder.tagName !== 'SPAN') {
                    holder = document.createElement('span');
                    img.parentNode.insertBefore(holder, img);
                    holder.appendChild(img);
                }
                addCell(entry[1], index, img, holder);
            });
        });
        var video = document.querySelector('#product-info video');
        if (video && videoKey)
            addCell(videoKey, 0, video, video.parentElement);
        if (info)
            addInfo(info);
        return true;
    }

    function sizes() {
        var out = [];
        Object.keys(cells).forEach(function (key) {
            var list = cells[key];
            if (!Array.isArray(list))
                return;
            list.forEach(function (c, index) {
                if (!c || c.reported)
                    return;
                var w = c.img.naturalWidth || c.img.videoWidth || 0, h = c.img.naturalHeight || c.img.videoHeight || 0;
                var failed = c.img.complete === true && w === 0;
                if (!w && !failed)
                    return;
                var bytes = 0;
                var entries = performance.getEntriesByName(c.img.currentSrc || c.img.src);
                if (entries.length)
                    bytes = entries[0].encodedBodySize || 0;
                c.reported = true;
                out.push([key, index, w, h, bytes]);
            });
        });
        return out;
    }

    function marks(command) {
        command.marks.forEach(function (m) {
            var c = (cells[m[0]] || [])[m[1]];
            if (!c)
                return;
            c.tick.textContent = m[2] ? '\u2611' : '\u2610';
            c.cell.classList.toggle('pick-off', !m[2]);
            c.cell.classList.toggle('pick-ruled', !!m[3] && !m[2]);
            c.word.textContent = m[3] || '';
            if (m[4] !== undefined && m[4] !== null)
                c.size.textContent = m[4];
        });
        (command.heads || []).forEach(function (h) {
            if (cells[h[0] + ':head'])
                cells[h[0] + ':head'].textContent = h[1];
        });
        var counts = document.getElementById('pick-counts');
        if (counts && command.counts !== undefined)
            counts.textContent = command.counts;
        return true;
    }

    if (!document.body)
        return false;
    if (command.decorate)
        return decorate(command.decorate, command.video, command.info);
    if (command.sizes)
        return sizes();
    if (command.marks)
        return marks(command);
    return false;
})
