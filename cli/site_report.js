// Sorting and page details for the site report. The rows are in the page already; the details
// of a page are built when its row is first opened, so ten thousand pages stay light.
(function () {
    'use strict';

    var loaded = null;  // the embedded pages, read on first use: a large report opens sooner
    var texts = null;  // advice and checks name their texts by index into this list
    var table = document.getElementById('pages');
    var body = table.tBodies[0];
    var rows = Array.prototype.slice.call(body.rows);
    var details = new Map();  // page index -> its details row, once built
    var order = rows.map(function (row, i) { return i; });

    function data() {
        if (!loaded) {
            var data = JSON.parse(document.getElementById('report-data').textContent);
            loaded = data.pages;
            texts = data.texts;
        }
        return loaded;
    }

    var collator = new Intl.Collator(undefined, { numeric: true, sensitivity: 'base' });

    function element(tag, className, text) {
        var node = document.createElement(tag);
        if (className) {
            node.className = className;
        }
        if (text !== undefined) {
            node.textContent = text;
        }
        return node;
    }

    function section(title) {
        var part = element('section');
        part.appendChild(element('h3', null, title));
        return part;
    }

    function pageFacts(page) {
        var part = section('Page');
        var list = element('dl');
        [['File', page.file],
         ['Title', page.title ? page.title + ' (' + page.titleChars + ' characters)' : 'none'],
         ['Description', page.description
             ? page.description + ' (' + page.descriptionChars + ' characters)' : 'none'],
         ['Score', (page.score === null ? 'none' : page.score) + ' (' + page.role + ')'],
         ['Keyword rating', page.ratingText]].forEach(function (fact) {
            list.appendChild(element('dt', null, fact[0]));
            list.appendChild(element('dd', null, fact[1]));
        });
        part.appendChild(list);
        return part;
    }

    function advice(page) {
        var part = section('Advice');
        var list = element('ul', 'advice');
        page.advice.forEach(function (item) {
            var line = element('li');
            line.appendChild(element('strong', null, texts[item[0]]));
            line.appendChild(document.createTextNode(' \u2014 ' + texts[item[1]]));
            list.appendChild(line);
        });
        if (!page.advice.length) {
            list.appendChild(element('li', null, 'No advice.'));
        }
        part.appendChild(list);
        return part;
    }

    function checks(page) {
        var part = section('Page checks');
        part.className = 'checks-list';
        var list = element('ul', 'checks');
        // What needs work first; within a state, the checks' own order.
        var rank = { problem: 0, improve: 1, info: 2, good: 3 };
        page.checks.map(function (check, i) { return [check, i]; }).sort(function (a, b) {
            return rank[texts[a[0][1]]] - rank[texts[b[0][1]]] || a[1] - b[1];
        }).forEach(function (entry) {
            var check = entry[0].map(function (index) { return texts[index]; });
            var line = element('li', 'check ' + check[1]);
            line.appendChild(element('span', 'state ' + check[1], check[1]));
            line.appendChild(element('span', 'check-id', check[0]));
            line.appendChild(document.createTextNode(check[2]));
            list.appendChild(line);
        });
        part.appendChild(list);
        return part;
    }

    function buildDetails(index) {
        var page = data()[index];
        var row = element('tr', 'details');
        row.setAttribute('role', 'row');
        row.id = 'details-' + index;
        var cell = element('td');
        cell.setAttribute('role', 'cell');
        cell.colSpan = rows[index].cells.length;
        var grid = element('div', 'detail-grid');
        grid.appendChild(pageFacts(page));
        grid.appendChild(advice(page));
        grid.appendChild(checks(page));
        cell.appendChild(grid);
        row.appendChild(cell);
        return row;
    }

    function toggle(index) {
        var row = rows[index];
        var button = row.querySelector('.toggle');
        var open = button.getAttribute('aria-expanded') !== 'true';
        button.setAttribute('aria-expanded', String(open));
        if (open) {
            if (!details.has(index)) {
                details.set(index, buildDetails(index));
            }
            row.setAttribute('data-open', '');
            row.after(details.get(index));
        } else {
            row.removeAttribute('data-open');
            details.get(index).remove();
        }
    }

    function compareBy(key) {
        var pages = data();
        if (key === 'file') {
            return function (a, b) { return collator.compare(pages[a].file, pages[b].file) || a - b; };
        }
        if (key === 'score') {
            // Pages without a score (redirects, pages not indexed) after the scored ones.
            return function (a, b) {
                var x = pages[a].score;
                var y = pages[b].score;
                return (x === null) - (y === null) || x - y || a - b;
            };
        }
        return function (a, b) { return pages[a][key] - pages[b][key] || a - b; };
    }

    function sortBy(button) {
        var heading = button.parentNode;
        var ascending = heading.getAttribute('aria-sort') !== 'ascending';
        var compare = compareBy(button.getAttribute('data-key'));
        order.sort(ascending ? compare : function (a, b) { return compare(b, a); });
        Array.prototype.forEach.call(table.tHead.rows[0].cells, function (cell) {
            cell.setAttribute('aria-sort', 'none');
        });
        heading.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
        var moved = document.createDocumentFragment();
        order.forEach(function (index) {
            moved.appendChild(rows[index]);
            if (rows[index].hasAttribute('data-open')) {
                moved.appendChild(details.get(index));
            }
        });
        body.appendChild(moved);
    }

    table.tHead.addEventListener('click', function (event) {
        var button = event.target.closest('button[data-key]');
        if (button) {
            sortBy(button);
        }
    });
    // The row's button opens it, also by Enter and Space; a click elsewhere on the row does too,
    // unless it ended a text selection there.
    body.addEventListener('click', function (event) {
        var row = event.target.closest('tr.page');
        var selecting = !event.target.closest('button') && !window.getSelection().isCollapsed;
        if (row && !selecting) {
            toggle(Number(row.getAttribute('data-i')));
        }
    });
})();
