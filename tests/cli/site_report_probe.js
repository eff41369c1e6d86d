// Injected into a copy of a site report by the browser test: it works the page as a person
// would and writes what it saw into <pre id="probe-result"> as JSON, for --dump-dom.
(function () {
    'use strict';
    var result = {};
    var table = document.getElementById('pages');
    var body = table.tBodies[0];

    function bars(selector) {
        return Array.prototype.map.call(document.querySelectorAll(selector), function (bar) {
            var box = bar.getBBox();
            return {
                count: Number(bar.getAttribute('data-count')),
                label: bar.getAttribute('data-bin') || bar.getAttribute('data-label'),
                kind: bar.getAttribute('data-kind'),
                height: box.height,
                width: box.width
            };
        });
    }

    function column(index) {
        return Array.prototype.map.call(body.querySelectorAll('tr.page'), function (row) {
            return index === 0 ? row.querySelector('.file').textContent : row.cells[index].textContent;
        });
    }

    function sortState() {
        return Array.prototype.map.call(table.tHead.rows[0].cells, function (cell) {
            return cell.getAttribute('aria-sort');
        });
    }

    function sortBy(key) {
        var started = performance.now();
        table.tHead.querySelector('button[data-key="' + key + '"]').click();
        return performance.now() - started;
    }

    result.rows = body.querySelectorAll('tr.page').length;
    result.histogram = bars('svg.histogram.ratings rect.bar');
    result.scoreHistogram = bars('svg.histogram.scores rect.bar');
    result.findings = bars('svg.findings rect.bar');
    result.initialFiles = column(0);
    result.initialScores = column(1);
    result.initialSort = sortState();

    result.ratingAscendingMs = sortBy('rating');
    result.ratingAscending = column(2);
    result.sortAfterAscending = sortState();
    result.ratingDescendingMs = sortBy('rating');
    result.ratingDescending = column(2);
    result.sortAfterDescending = sortState();
    sortBy('score');
    result.scoresAscending = column(1);
    sortBy('file');
    result.filesAscending = column(0);

    var first = body.rows[0];
    var toggle = first.querySelector('button.toggle');
    result.toggleIsButton = toggle.tagName === 'BUTTON';
    result.expandedBefore = toggle.getAttribute('aria-expanded');
    toggle.click();
    result.expandedAfter = toggle.getAttribute('aria-expanded');
    var details = first.nextElementSibling;
    result.detailsId = details && details.id;
    result.controls = toggle.getAttribute('aria-controls');
    result.detailChecks = details ? details.querySelectorAll('li.check').length : -1;
    result.detailText = details ? details.textContent : '';
    // Sorting keeps an open page's details right below it.
    sortBy('problems');
    result.detailsFollowRow = first.nextElementSibling === details;
    result.rowsAfterExpand = body.querySelectorAll('tr.page').length;
    // Back on top and open, for the screenshot.
    sortBy('file');

    var out = document.createElement('pre');
    out.id = 'probe-result';
    out.hidden = true;
    out.textContent = JSON.stringify(result);
    document.body.appendChild(out);
})();
